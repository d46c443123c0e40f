// Nothing a user does kills the page: input during a long press is dropped,
// and a worker that dies, in a press or as it starts, takes that press down
// with the out-of-memory message shown; the next press gets a new worker.
import assert from 'node:assert/strict';
import { describe, it } from 'node:test';
import { browserSession } from './support/browser.mjs';
import { assertImage, withoutFigures } from './support/compare.mjs';
import { boxText, canvasImage, clickAndAnswer, control, openPage, typeEntries, waitIdle } from './support/panel.mjs';
import { site } from './support/paths.mjs';
import { nativeOutOfMemoryMessage, reference } from './support/reference.mjs';
import { serve } from './support/server.mjs';

const long = { name: 'a long FM press', presses: [{ Combo1: 'FM', Text13: '4000000' }] };
const short = { name: 'a short PM press', presses: [{ Combo1: 'PM' }] };
// Past what a wasm32 heap can give (some 4 GB) after a press that grew it;
// the native build may have the room, so its refusal of a far larger N gives the words.
const beyondHeap = '100000000';
const refusedEverywhere = { name: 'refused natively too', presses: [{ Combo1: 'AM', Text13: '2000000000' }] };

describe('the page survives', () => {
  const session = browserSession();

  it('drops clicks and keys on the panel during a long press', async () => {
    const native = await reference(long);
    const page = await openPage(session.browser, session.url);
    await typeEntries(page, long.presses[0]);
    await page.click(control('Form1', 'Command2'));
    assert.equal(await page.evaluate(() => window.trelvano.busy), true, 'the press is still running');
    await page.click(control('Form1', 'Command2'));
    // Focused by a script, which a press does not stop: only the keys are a user's.
    await page.evaluate((s) => document.querySelector(s).focus(), control('Form1', 'Text13'));
    await page.keyboard.type('9');
    await waitIdle(page, 120000);
    assert.equal(await page.evaluate(() => document.querySelector('dialog[open]')), null);
    assert.equal(await boxText(page, 'Text13'), '4000000');
    assertImage(await canvasImage(page, 'Form2'), native.images.Form2, 'Form2 after the long press');
    assert.deepEqual(await page.scriptErrors(), []);
    await page.close();
  });

  it('refuses an N past the heap after a press that grew it, then presses again', async () => {
    const [native, refusal] = await Promise.all([reference(long), reference(refusedEverywhere)]);
    const page = await openPage(session.browser, session.url);
    await typeEntries(page, long.presses[0]);
    assert.deepEqual(await clickAndAnswer(page, 'Form1', 'Command2'), []);
    await typeEntries(page, { Text13: beyondHeap });
    const messages = await clickAndAnswer(page, 'Form1', 'Command2');
    assert.deepEqual(messages.map(withoutFigures), refusal.presses[0].messages.map(withoutFigures));
    await typeEntries(page, long.presses[0]);
    assert.deepEqual(await clickAndAnswer(page, 'Form1', 'Command2'), []);
    assertImage(await canvasImage(page, 'Form2'), native.images.Form2, 'Form2 after the refusal');
    assert.deepEqual(await page.scriptErrors(), []);
    await page.close();
  });

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

  // The press a dead worker took down: the module's out-of-memory message
  // alone, and the plot drawn before it blank.
  async function pressRefused(page, message, what) {
    assert.deepEqual(await clickAndAnswer(page, 'Form1', 'Command2'), [message], what);
    const blank = await canvasImage(page, 'Form2');
    assert.equal(new Set(new Uint32Array(blank.rgba.buffer, blank.rgba.byteOffset, blank.rgba.length / 4)).size, 1, `${what}: Form2 blank`);
  }

  async function pressWorks(page, native, what) {
    assert.deepEqual(await clickAndAnswer(page, 'Form1', 'Command2'), [], what);
    assertImage(await canvasImage(page, 'Form2'), native.images.Form2, what);
  }

  it('refuses each press a dying worker takes down, in a press or as it starts, and the next press gets a new one', async () => {
    const [native, message] = await Promise.all([reference(short), nativeOutOfMemoryMessage()]);
    // The site's files from a server of its own, which can refuse them: a
    // new origin, where the refused service worker caches none.
    const server = await serve(site);
    server.refused.add('/sw.js');
    const page = await openPage(session.browser, server.url);
    await typeEntries(page, short.presses[0]);
    await pressWorks(page, native, 'the first press');
    // A death in a press; then one in the next worker's start as well: the
    // loader it imports is missing, a script error before it can answer, or
    // the wasm its module compiles, the module's start failing.
    for (const file of [null, '/trelvano.js', '/trelvano.wasm']) {
      const round = file ? `without ${file}` : 'one death';
      await dieAtNextCall(page);
      await pressRefused(page, message, `${round}: the press a worker died in`);
      if (file) {
        server.refused.add(file);
        await pressRefused(page, message, `${round}: the press a new worker died starting for`);
        server.refused.delete(file);
      }
      await pressWorks(page, native, `${round}: the press after`);
    }
    assert.deepEqual(await page.scriptErrors(), []);
    await page.close();
    await server.close();
  });
});

describe('a start that fails', () => {
  const session = browserSession();

  // The module, its loader, the worker, or the page's own script missing: the
  // page's markup says so, shown by the script when it meets the failure, by
  // the style sheet after a while when no script of the page runs at all.
  it('says so in the page rather than leave it blank', async () => {
    for (const file of ['/trelvano.wasm', '/trelvano.js', '/worker.js', '/page.js']) {
      // No service worker either, which would serve the files from its cache.
      session.server.refused.add('/sw.js');
      session.server.refused.add(file);
      const page = await session.browser.open();
      await page.goto(session.url, { waitUntil: 'load' });
      const loaded = Date.now();
      await page.waitForFunction(() => document.getElementById('start-failed').checkVisibility({ visibilityProperty: true }), {
        timeout: 20000,
        polling: 50,
      });
      const shown = await page.evaluate(() => ({
        text: document.getElementById('start-failed').textContent.trim(),
        windows: document.querySelectorAll('#desktop .window').length,
      }));
      assert.match(shown.text, /^Trelvano non può partire/, file);
      assert.equal(shown.windows, 0, file);
      // The style sheet's fallback shows it only 8 s after the page is drawn.
      if (file !== '/page.js') assert.ok(Date.now() - loaded < 6000, `${file}: shown by the script`);
      session.server.refused.clear();
      await page.close();
    }
  });
});
