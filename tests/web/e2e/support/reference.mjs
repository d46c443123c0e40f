// The native build's answers, made in this run by trelvano_api_replay: the
// same calls the page's worker makes, through the same C interface, compiled
// natively with the desktop's compiler and libraries; and how close the
// page's must come to them.
import assert from 'node:assert/strict';
import { execFile } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { promisify } from 'node:util';
import { canvasImage, isShown } from './panel.mjs';
import { repo } from './paths.mjs';

const replayTool = process.env.TRELVANO_API_REPLAY ?? path.join(repo, 'build-web-native', 'tests', 'web', 'trelvano_api_replay');

async function replay(calls) {
  const child = promisify(execFile)(replayTool, [], { maxBuffer: 64 << 20 });
  child.child.stdin.end(calls.map((c) => c.join('\t')).join('\n') + '\n');
  const { stdout } = await child;
  return stdout.trimEnd().split('\n').map((line) => JSON.parse(line));
}

export const nativeForms = async () => (await replay([['forms']]))[0];
// The message the page shows for a press its worker died in.
export const nativeOutOfMemoryMessage = async () => (await replay([['outofmemory']]))[0];

// A case as the native build answers it: c.presses, [{control: text}] typed
// before each press; c.spectrum, "Visualizza spettro" after them; c.sizes,
// [{form, width, height, ratio}], the plots' sizes on screen, told before the
// presses; c.readouts, [{form, x, y}] and c.keys, [{form, key}], after them.
//   presses: [{messages, shown}], readouts: [text], keys: [{text, x, y}],
//   described: {Form2: text, ...} as last said,
//   images: {Form2: {width, height, rgba}, ...} after the last call
export async function reference(c) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'trelvano-native-'));
  const calls = c.separator ? [['separator', c.separator]] : [];
  for (const { form, width, height, ratio } of c.sizes ?? []) calls.push(['plotsize', form, width, height, ratio]);
  for (const entries of c.presses) calls.push(...Object.entries(entries).map(([name, text]) => ['set', name, text]), ['press']);
  if (c.spectrum) calls.push(['spectrum']);
  for (const { form, x, y } of c.readouts ?? []) calls.push(['readout', form, x, y]);
  for (const { form, key } of c.keys ?? []) calls.push(['key', form, key]);
  for (const form of ['Form2', 'Form3']) calls.push(['image', form, path.join(dir, form)]);
  try {
    const results = await replay(calls);
    const native = { presses: [], readouts: [], keys: [], described: {}, images: {} };
    const shown = new Set();
    calls.forEach(([call, form, file], i) => {
      const result = results[i];
      // What the windows did is told by the calls that play events.
      for (const e of ['plotsize', 'press', 'spectrum'].includes(call) ? result : []) {
        if (e.event === 'described') native.described[e.form] = e.text;
        if (e.event === 'show') shown.add(e.form);
        if (e.event === 'closed') shown.delete(e.form);
      }
      const readout = call === 'readout' || call === 'key' ? result.find((e) => e.event === 'readout') : undefined;
      if (call === 'press') native.presses.push({ messages: result.filter((e) => e.event === 'message').map((e) => e.text), shown: [...shown].sort() });
      if (call === 'readout') native.readouts.push(readout?.text ?? null);
      if (call === 'key') native.keys.push({ text: readout?.text, x: readout?.x, y: readout?.y });
      if (call === 'image' && result.width > 0) native.images[form] = { ...result, rgba: fs.readFileSync(file) };
    });
    return native;
  } finally {
    fs.rmSync(dir, { recursive: true, force: true });
  }
}

export function assertImage(actual, expected, what) {
  assert.equal(`${actual.width}x${actual.height}`, `${expected.width}x${expected.height}`, `${what}: size`);
  let differing = 0;
  for (let i = 0; i < actual.rgba.length; i += 4) if (actual.rgba.readUInt32BE(i) !== expected.rgba.readUInt32BE(i)) differing += 1;
  const total = actual.width * actual.height;
  assert.ok(differing <= 0.001 * total, `${what}: ${differing} of ${total} pixels differ`);
}

// Both plots shown as the native build drew them, and no script error met.
export async function assertPlots(page, native, what) {
  for (const form of ['Form2', 'Form3']) {
    assert.ok(await isShown(page, form), `${what}: ${form} shown`);
    assertImage(await canvasImage(page, form), native.images[form], `${what}: ${form}`);
  }
  assert.deepEqual(await page.scriptErrors(), [], `${what}: script errors`);
}

// The memory refusal's figures are the machine's: the words must match, the
// numbers need not.
export const withoutFigures = (text) => text.replace(/\d+([.,]\d+)?/g, '#');
