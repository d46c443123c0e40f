// Nothing a user does kills the page: input during a long press is dropped,
// and a worker that dies is replaced with the out-of-memory message shown.
import assert from 'node:assert/strict';
import { describe, it } from 'node:test';
import { browserSession } from './support/browser.mjs';
import { assertFigures, assertImage, withoutFigures } from './support/compare.mjs';
import { canvasImage, clickAndAnswer, control, figures, openPage, typeEntries, waitIdle } from './support/panel.mjs';
import { nativeOutOfMemoryMessage, reference } from './support/reference.mjs';

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
    await page.type(control('Form1', 'Text13'), '9');
    await waitIdle(page, 120000);
    assert.equal(await page.$('dialog[open]'), null);
    assert.equal(await page.$eval(control('Form1', 'Text13'), (box) => box.value), '4000000');
    assertFigures(await figures(page), native.presses[0].figures);
    assertImage(await canvasImage(page, 'Form2'), native.images.Form2, 'Form2 after the long press');
    assert.deepEqual(page.errors, []);
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
    assertFigures(await figures(page), native.presses[0].figures);
    assertImage(await canvasImage(page, 'Form2'), native.images.Form2, 'Form2 after the refusal');
    assert.deepEqual(page.errors, []);
    await page.close();
  });

  it('replaces a worker that died, blanks the plots, says so, and the next press works', async () => {
    const [native, message] = await Promise.all([reference(short), nativeOutOfMemoryMessage()]);
    const page = await openPage(session.browser, session.url);
    await typeEntries(page, short.presses[0]);
    assert.deepEqual(await clickAndAnswer(page, 'Form1', 'Command2'), []);
    const [worker] = page.workers();
    // As an abort out of memory does: an error the worker does not catch.
    await worker.evaluate(() => setTimeout(() => { throw new RangeError('WebAssembly.Memory(): could not grow'); }));
    await page.waitForSelector('dialog[open]', { visible: true });
    const text = await page.$eval('dialog[open]', (d) => document.getElementById(d.getAttribute('aria-describedby')).textContent);
    assert.equal(text, message);
    const blank = await canvasImage(page, 'Form2');
    assert.equal(new Set(new Uint32Array(blank.rgba.buffer, blank.rgba.byteOffset, blank.rgba.length / 4)).size, 1, 'Form2 blank');
    await page.click('dialog[open] button');
    assert.deepEqual(await clickAndAnswer(page, 'Form1', 'Command2'), []);
    assertFigures(await figures(page), native.presses[0].figures);
    assertImage(await canvasImage(page, 'Form2'), native.images.Form2, 'Form2 from the new worker');
    await page.close();
  });
});
