// The module the page runs on: every core where its own service worker makes
// the site isolated (the test server sets no header), one thread where the
// worker cannot be had or the file opens from a disk; the same answers as the
// native build on each.
import assert from 'node:assert/strict';
import { pathToFileURL } from 'node:url';
import { before, describe, it } from 'node:test';
import { browserSession, engine } from './support/browser.mjs';
import { canvasImage, clickAndAnswer, isShown, typeEntries, usePage } from './support/panel.mjs';
import { singleFile } from './support/paths.mjs';
import { assertImage, reference } from './support/reference.mjs';

// Long enough that its loops are shared out between threads, with a large
// prime factor for FFTW's threaded transform.
const press = { presses: [{ Combo1: 'FM', Text13: '300003', Text1: '20' }], spectrum: true };

// WebKitGTK isolates the page but gives its workers no SharedArrayBuffer:
// the threaded module does not start there, and the single one takes over.
// It also counts the page's own reload as a navigation.
const threads = engine !== 'webkit';
const reload = engine === 'webkit' ? 'navigate' : 'reload';

// How the page came to be, and what it runs on.
const state = (page) =>
  page.evaluate(() => ({
    isolated: window.crossOriginIsolated,
    threaded: window.trelvano.threaded,
    loads: performance.getEntriesByType('navigation')[0].type,
  }));

let native;
before(async () => (native = await reference(press)));

async function pressMatchesNative(page) {
  await typeEntries(page, press.presses[0]);
  assert.deepEqual(await clickAndAnswer(page, 'Form1', 'Command2'), []);
  assert.deepEqual(await clickAndAnswer(page, 'Form2', 'Command1'), []);
  for (const form of ['Form2', 'Form3']) {
    assert.ok(await isShown(page, form), form);
    assertImage(await canvasImage(page, form), native.images[form], form);
  }
  assert.deepEqual(await page.scriptErrors(), [], 'script errors in the page');
}

describe('a site served with no headers', () => {
  const session = browserSession();

  it('isolates itself with one reload on a first visit, and runs threaded', async () => {
    await usePage(session, {}, async (page) => {
      assert.deepEqual(await state(page), { isolated: true, threaded: threads, loads: reload });
      await pressMatchesNative(page);
    });
    // The next visit is taken over from its start: no reload.
    await usePage(session, {}, async (page) => assert.deepEqual(await state(page), { isolated: true, threaded: threads, loads: 'navigate' }));
  });

  it('from file:// runs the single module', async () => {
    await usePage(session, { url: pathToFileURL(singleFile).href }, async (page) => {
      assert.equal((await state(page)).threaded, false);
      await pressMatchesNative(page);
    });
  });
});

describe('a site whose service worker is lost', () => {
  const session = browserSession();

  it('stays on one thread, loaded once', async () => {
    session.server.refused.add('/sw.js');
    await usePage(session, {}, async (page) => {
      assert.deepEqual(await state(page), { isolated: false, threaded: false, loads: 'navigate' });
      await pressMatchesNative(page);
    });
  });
});
