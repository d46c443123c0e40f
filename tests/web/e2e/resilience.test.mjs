// Nothing a user does kills the page: input during a long press is dropped,
// and a worker that dies, in a press or as it starts, takes that press down
// with the out-of-memory message shown; the next press gets a new worker. A
// start that fails says so. No service worker, which would serve the files
// this refuses from its cache: the page is on one thread.
import assert from 'node:assert/strict';
import { before, describe, it } from 'node:test';
import { browserSession } from './support/browser.mjs';
import { boxTexts, canvasImage, clickAndAnswer, control, openPage, pageState, typeEntries, waitIdle } from './support/panel.mjs';
import { assertImage, nativeOutOfMemoryMessage, reference, withoutFigures } from './support/reference.mjs';

const long = { presses: [{ Combo1: 'FM', Text13: '4000000' }] };
const short = { presses: [{ Combo1: 'PM', Text13: '1000' }] };
// Past what a wasm32 heap can give (some 4 GB) after a press that grew it;
// the native build may have the room, so its refusal of a far larger N gives the words.
// A file of the module on one thread, in the build with WebAssembly's vectors
// and in the one without, whichever the browser takes.
const eitherBuild = (file) => [file, file.replace('/trelvano.', '/trelvano-simd.')];
const refusedEverywhere = { presses: [{ Combo1: 'AM', Text13: '2000000000' }] };

// The worker as an abort out of memory leaves it: the module's next call
// throws, here one the worker has no action for, and the worker says it is done for.
const dieAtNextCall = (page) =>
  page.evaluate(() => {
    const post = Worker.prototype.postMessage;
    Worker.prototype.postMessage = function (message, ...rest) {
      Worker.prototype.postMessage = post;
      post.call(this, { ...message, op: 'abort' }, ...rest);
    };
  });

// A press's messages and the plot after it: the native image, or blank where
// a dead worker took the press down with the module's out-of-memory message.
async function pressGives(page, messages, image, what) {
  assert.deepEqual(await clickAndAnswer(page, 'Form1', 'Command2'), messages, what);
  const drawn = await canvasImage(page, 'Form2');
  if (image) assertImage(drawn, image, what);
  else assert.equal(new Set(new Uint32Array(drawn.rgba.buffer, drawn.rgba.byteOffset, drawn.rgba.length / 4)).size, 1, `${what}: Form2 blank`);
}

describe('the page survives', () => {
  const session = browserSession();
  before(() => session.server.refused.add('/sw.js'));

  it('runs on one thread, loaded once; drops clicks and keys during a long press; refuses an N past the heap it grew, and each press a dying worker takes down, in a press or as it starts; the next press works', async (t) => {
    const [native, refusal, shortNative, message] = await Promise.all([reference(long), reference(refusedEverywhere), reference(short), nativeOutOfMemoryMessage()]);
    const page = await openPage(session, t);
    // Not isolated without its service worker, so the single module.
    assert.deepEqual(await pageState(page), { isolated: false, threaded: false, vectors: true, loads: 'navigate' });
    await typeEntries(page, long.presses[0]);
    await page.click(control('Form1', 'Command2'));
    assert.equal(await page.evaluate(() => window.trelvano.busy), true, 'the press is still running');
    await page.click(control('Form1', 'Command2'));
    // Focused by a script, which a press does not stop: only the keys are a user's.
    await page.evaluate((s) => document.querySelector(s).focus(), control('Form1', 'Text13'));
    await page.keyboard.type('9');
    await waitIdle(page, 120000);
    assert.equal(await page.evaluate(() => document.querySelector('dialog[open]')), null);
    assert.deepEqual(await boxTexts(page, ['Text13']), { Text13: '4000000' });
    assertImage(await canvasImage(page, 'Form2'), native.images.Form2, 'Form2 after the long press');
    await typeEntries(page, { Text13: '100000000' });
    const messages = await clickAndAnswer(page, 'Form1', 'Command2');
    assert.deepEqual(messages.map(withoutFigures), refusal.presses[0].messages.map(withoutFigures));
    await typeEntries(page, short.presses[0]);
    await pressGives(page, [], shortNative.images.Form2, 'the press after the refusal');
    // A death in a press; then one in the next worker's start as well: the
    // loader it imports is missing, a script error before it can answer, or
    // the wasm its module compiles, the module's start failing.
    for (const file of [null, '/trelvano.js', '/trelvano.wasm']) {
      const round = file ? `without ${file}` : 'one death';
      await dieAtNextCall(page);
      await pressGives(page, [message], null, `${round}: the press a worker died in`);
      if (file) {
        for (const each of eitherBuild(file)) session.server.refused.add(each);
        await pressGives(page, [message], null, `${round}: the press a new worker died starting for`);
        for (const each of eitherBuild(file)) session.server.refused.delete(each);
      }
      await pressGives(page, [], shortNative.images.Form2, `${round}: the press after`);
    }
    assert.deepEqual(await page.scriptErrors(), []);
  });

  // The module, its loader, the worker, or the page's own script missing: the
  // page's markup says so, shown by the script when it meets the failure, by
  // the style sheet after a while when no script of the page runs at all.
  for (const file of ['/trelvano.wasm', '/trelvano.js', '/worker.js', '/page.js']) {
    it(`says so in the page rather than leave it blank, without ${file}`, async (t) => {
      for (const each of eitherBuild(file)) session.server.refused.add(each);
      t.after(() => eitherBuild(file).forEach((each) => session.server.refused.delete(each)));
      const page = await session.browser.open();
      t.after(() => page.close());
      await page.goto(session.url, { waitUntil: 'load' });
      const loaded = Date.now();
      await page.waitForFunction(() => document.getElementById('start-failed').checkVisibility({ visibilityProperty: true }), { timeout: 20000, polling: 50 });
      const shown = await page.evaluate(() => [document.getElementById('start-failed').textContent.trim(), document.querySelectorAll('#desktop .window').length]);
      assert.deepEqual(shown, ['Trelvano non può partire in questo browser: aggiornalo o prova con un altro browser.', 0]);
      // The style sheet's fallback shows it only 8 s after the page is drawn.
      if (file !== '/page.js') assert.ok(Date.now() - loaded < 6000, 'shown by the script');
    });
  }
});
