// The native build's answers, made in this run by trelvano_api_replay: the
// same calls the page's worker makes, through the same C interface, compiled
// natively with the desktop's compiler and libraries.
import { execFile } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { promisify } from 'node:util';
import { repo } from './paths.mjs';

export const replayTool =
  process.env.TRELVANO_API_REPLAY ?? path.join(repo, 'build-web-native', 'tests', 'web', 'trelvano_api_replay');

async function replay(calls) {
  const run = promisify(execFile);
  const child = run(replayTool, [], { maxBuffer: 64 << 20 });
  child.child.stdin.end(calls.map((c) => c.join('\t')).join('\n') + '\n');
  const { stdout } = await child;
  return stdout.trimEnd().split('\n').map((line) => JSON.parse(line));
}

export async function nativeForms() {
  const [forms] = await replay([['forms']]);
  return forms;
}

// A case of support/cases.mjs as the native build answers it:
//   presses: [{messages, shown}], readouts: [text], keys: [{text, x, y}],
//   described: {Form2: text, ...} as last said,
//   images: {Form2: {width, height, rgba}, ...} after the last call
// c.sizes: [{form, width, height, ratio}], the plots' sizes on screen, told
// before the presses; c.keys: [{form, key}], after the readouts.
export async function reference(c) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'trelvano-native-'));
  const calls = [];
  const answers = [];
  const expect = (what) => answers.push(what);
  if (c.ratio) calls.push(['ratio', String(c.ratio)]), expect(null);
  if (c.separator) calls.push(['separator', c.separator]), expect(null);
  for (const { form, width, height, ratio } of c.sizes ?? []) {
    calls.push(['plotsize', form, String(width), String(height), String(ratio)]), expect('events');
  }
  for (const entries of c.presses) {
    for (const [name, text] of Object.entries(entries)) calls.push(['set', name, text]), expect(null);
    calls.push(['press']), expect('press');
  }
  if (c.spectrum) calls.push(['spectrum']), expect('spectrum');
  for (const { form, x, y } of c.readouts ?? []) calls.push(['readout', form, String(x), String(y)]), expect('readout');
  for (const { form, key } of c.keys ?? []) calls.push(['key', form, key]), expect('key');
  for (const form of ['Form2', 'Form3']) calls.push(['image', form, path.join(dir, form)]), expect(form);

  let results;
  try {
    results = await replay(calls);
  } catch (error) {
    fs.rmSync(dir, { recursive: true, force: true });
    throw error;
  }
  const shown = new Set();
  const native = { presses: [], readouts: [], keys: [], described: {}, images: {} };
  const follow = (events) => {
    for (const e of events) {
      if (e.event === 'described') native.described[e.form] = e.text;
      if (e.event === 'show') shown.add(e.form);
      if (e.event === 'closed') shown.delete(e.form);
    }
  };
  answers.forEach((what, i) => {
    const result = results[i];
    if (what === 'press') {
      follow(result);
      native.presses.push({ messages: result.filter((e) => e.event === 'message').map((e) => e.text), shown: [...shown].sort() });
    } else if (what === 'spectrum' || what === 'events') {
      follow(result);
    } else if (what === 'readout') {
      native.readouts.push(result.find((e) => e.event === 'readout')?.text ?? null);
    } else if (what === 'key') {
      const { text, x, y } = result.find((e) => e.event === 'readout') ?? {};
      native.keys.push({ text, x, y });
    } else if (what) {
      if (result.width > 0) native.images[what] = { ...result, rgba: fs.readFileSync(path.join(dir, what)) };
    }
  });
  fs.rmSync(dir, { recursive: true, force: true });
  return native;
}

// The message the page shows for a press its worker died in.
export async function nativeOutOfMemoryMessage() {
  const [text] = await replay([['outofmemory']]);
  return text;
}
