// The module the page runs on: every core where its own service worker makes
// the site isolated (the test server sets no header), one thread where that
// worker is lost; the same answers as the native build on each. From a disk
// it is always the single module (link.test.mjs).
import assert from 'node:assert/strict';
import { describe, it } from 'node:test';
import { browserSession, engine } from './support/browser.mjs';
import { canvasImage, clickAndAnswer, isShown, openPage, pressAndShowSpectrum } from './support/panel.mjs';
import { assertImage, reference } from './support/reference.mjs';

// Long enough that its loops are shared out between threads, with a large
// prime factor for FFTW's threaded transform.
const press = { presses: [{ Combo1: 'FM', Text13: '300003', Text1: '20' }], spectrum: true };
const native = await reference(press);

// WebKitGTK isolates the page but gives its workers no SharedArrayBuffer:
// the threaded module does not start there, and the single one takes over.
// It also counts the page's own reload as a navigation. All three have
// WebAssembly's vectors, so the single module is the one built with them.
const threads = engine !== 'webkit';
const reload = engine === 'webkit' ? 'navigate' : 'reload';

// How the page came to be, and what it runs on.
const state = (page) =>
  page.evaluate(() => ({
    isolated: window.crossOriginIsolated,
    threaded: window.trelvano.threaded,
    vectors: window.trelvano.vectors,
    loads: performance.getEntriesByType('navigation')[0].type,
  }));

async function pressMatchesNative(page) {
  await pressAndShowSpectrum(page, press.presses[0]);
  for (const form of ['Form2', 'Form3']) {
    assert.ok(await isShown(page, form), form);
    assertImage(await canvasImage(page, form), native.images[form], form);
  }
  assert.deepEqual(await page.scriptErrors(), [], 'script errors in the page');
}

describe('a site served with no headers', () => {
  const session = browserSession();

  it('isolates itself with one reload on a first visit and runs threaded; the next visit needs none', async (t) => {
    const page = await openPage(session, t);
    assert.deepEqual(await state(page), { isolated: true, threaded: threads, vectors: true, loads: reload });
    await pressMatchesNative(page);
    assert.deepEqual(await state(await openPage(session, t)), { isolated: true, threaded: threads, vectors: true, loads: 'navigate' });
  });
});

describe('a site whose service worker is lost', () => {
  const session = browserSession();

  it('stays on one thread, loaded once', async (t) => {
    session.server.refused.add('/sw.js');
    const page = await openPage(session, t);
    assert.deepEqual(await state(page), { isolated: false, threaded: false, vectors: true, loads: 'navigate' });
    await pressMatchesNative(page);
  });
});
