// The WebAssembly module as the page's worker loads it: the factory, every
// export the page calls, texts through UTF-8 both ways, an image read from the
// heap. Run by ctest under node, in a worker thread as the page runs it.
//   node module-test.js path/to/trelvano.js
'use strict';
const assert = require('assert');
const { Worker, isMainThread, parentPort, workerData } = require('worker_threads');

async function check(modulePath) {
  const M = await require(modulePath)();
  const call = (name, ret, args = []) =>
    M.ccall(name, ret, args.map(a => (typeof a === 'number' ? 'number' : 'string')), args);

  const forms = JSON.parse(call('trelvano_forms', 'string'));
  const label1 = forms.forms[1].controls.find(c => c.name === 'Label1');
  assert.match(label1.text, /comparirà/);

  call('trelvano_set_decimal_separator', null, [',']);
  const stopped = JSON.parse(call('trelvano_press', 'string'));  // no type chosen yet
  assert.deepStrictEqual(stopped.map(e => e.event), ['message', 'busy']);
  assert.match(stopped[0].text, /^Devi scegliere il tipo di modulazione/);

  call('trelvano_set_text', null, ['Combo1', 'FM']);
  const events = JSON.parse(call('trelvano_press', 'string'));
  assert.deepStrictEqual(events.map(e => e.event + (e.form || '')), ['showForm2', 'imageForm2', 'imageForm3', 'busy']);
  const figures = JSON.parse(call('trelvano_figures', 'string'));
  assert.strictEqual(figures.N, 1000);

  const width = call('trelvano_image_width', 'number', ['Form2']);
  const height = call('trelvano_image_height', 'number', ['Form2']);
  const start = call('trelvano_image', 'number', ['Form2']);
  const pixels = M.HEAPU8.subarray(start, start + width * height * 4);
  assert.deepStrictEqual([width, height, pixels.length], [1001, 609, 1001 * 609 * 4]);
  assert.ok(pixels.some((v, i) => i % 4 === 0 && v === 0), 'a black pixel of the trace');

  const readout = JSON.parse(call('trelvano_readout', 'string', ['Form2', 10.5, 20.5]));
  assert.match(readout[0].text, /^t= \d+,\d\d msec ; V\(t\) = -?\d,\d\dE[+-]\d\d V$/);
  assert.ok(call('trelvano_cosine_loop_seconds', 'number', [1000]) >= 0);
  assert.ok(call('trelvano_out_of_memory_message', 'string').length > 0);
  return 'ok';
}

if (isMainThread) {
  const worker = new Worker(__filename, { workerData: require('path').resolve(process.argv[2]) });
  worker.on('message', message => console.log(message));
  worker.on('error', error => {
    console.error(error);
    process.exitCode = 1;
  });
} else {
  check(workerData).then(parentPort.postMessage.bind(parentPort));
}
