// A teacher's link: the boxes' texts in the page's address under the names the
// module's tables give them, put in as if typed, and the address kept up to
// date as the boxes change; a malformed link changes nothing. The single file
// from a disk, always on the single module. And the module the site runs on:
// every core where its own service worker makes it isolated (the test server
// sets no header), also once nothing answers but that worker; one thread
// where that worker is lost (resilience.test.mjs).
import assert from 'node:assert/strict';
import { pathToFileURL } from 'node:url';
import { describe, it } from 'node:test';
import { browserSession, engine } from './support/browser.mjs';
import { boxTexts, openPage, pageState, pressAndShowSpectrum, setText, waitReady } from './support/panel.mjs';
import { singleFile } from './support/paths.mjs';
import { assertPlots, nativeForms, reference } from './support/reference.mjs';

const fromDisk = () => pathToFileURL(singleFile).href;
const { linkLimit: limit, forms } = await nativeForms();
const boxes = Object.fromEntries(forms[0].controls.filter((c) => c.link).map((c) => [c.name, c])); // control name -> {link, text}
const initial = Object.fromEntries(Object.entries(boxes).map(([name, c]) => [name, c.text]));
// In the tables' order, as the page writes the address.
const query = (texts) => new URLSearchParams(Object.keys(boxes).flatMap((name) => (name in texts ? [[boxes[name].link, texts[name]]] : []))).toString();

const typed = { Combo1: 'FM', Text8: '12.5', Text3: '40', Text13: '2000', Text6: '1.5' };
const edited = { Combo1: 'PM', Text3: '40', Text13: '2500', Text6: '1.5' };
const editedNative = await reference({ presses: [edited], spectrum: true });

describe('a link to an exercise, and the page from a disk', () => {
  const session = browserSession();

  // Each fault on a box of its own, so that any one shows in that box.
  it('changes nothing for a name unknown, repeated, empty or with a text too long; markup in it is text in its box', async (t) => {
    const markup = '<img src=x onerror="window.injected=1">';
    const unknown = 'Vpp=30&TIPO=FM&Text13=2000';
    const repeated = `${query({ Text3: '20' })}&${query({ Text3: '40' })}`;
    const search = [unknown, repeated, query({ Text13: '', Combo1: '' }), query({ Text6: `${'0'.repeat(limit)}5`, Text8: markup })].join('&');
    const page = await openPage(session, t, { url: `${session.url}?${search}` });
    assert.deepEqual(await boxTexts(page, Object.keys(boxes)), { ...initial, Text8: markup });
    assert.deepEqual(await page.evaluate(() => [document.querySelectorAll('img').length, window.injected ?? 'none']), [0, 'none']);
  });

  // Served and from a disk alike: history.replaceState changes the query of a file:// address too.
  // Not the session's first page: puppeteer reloads a page that loaded itself again to be isolated at its first address.
  for (const [where, url] of [['served', () => session.url], ['from a disk', fromDisk]]) {
    it(`opens with its texts, follows the boxes in the address with no new history entry, and presses them as typed, ${where}`, async (t) => {
      const page = await openPage(session, t, { url: `${url()}?lezione=3&${query(typed)}` });
      assert.deepEqual(await boxTexts(page, Object.keys(boxes)), { ...initial, ...typed });
      const entries = await page.evaluate(() => history.length);
      await setText(page, 'Text13', edited.Text13);
      await setText(page, 'Combo1', edited.Combo1);
      await setText(page, 'Text8', initial.Text8);
      assert.equal(new URL(await page.evaluate(() => location.href)).searchParams.toString(), `lezione=3&${query(edited)}`);
      assert.equal(await page.evaluate(() => history.length), entries, 'history entries');
      await page.reload({ waitUntil: 'load' });
      await waitReady(page);
      assert.deepEqual(await boxTexts(page, Object.keys(boxes)), { ...initial, ...edited });
      await pressAndShowSpectrum(page, {});
      await assertPlots(page, editedNative, where);
    });
  }

  // Firefox once froze on the single file from file:// in some runs.
  it('opens trelvano.html from file:// twenty times in a row, on the single module, and a press works each time', async (t) => {
    const press = { presses: [{ Combo1: 'FM', Text13: '4000' }], spectrum: true };
    const native = await reference(press);
    for (let i = 1; i <= 20; i++) {
      const page = await openPage(session, t, { url: fromDisk(), press: press.presses[0] });
      // No page from a disk is isolated.
      assert.deepEqual(await pageState(page), { isolated: false, threaded: false, vectors: true, loads: 'navigate' }, `opening ${i}`);
      await assertPlots(page, native, `opening ${i}`);
      await page.close();
    }
  });
});

// Long enough that its loops are shared out between threads, with a large
// prime factor for FFTW's threaded transform.
const spread = { presses: [{ Combo1: 'FM', Text13: '300003', Text1: '20' }], spectrum: true };
const spreadNative = await reference(spread);

// WebKitGTK isolates the page but gives its workers no SharedArrayBuffer:
// the threaded module does not start there, and the single one takes over.
// It also counts the page's own reload as a navigation, though not the driver's.
const threads = engine !== 'webkit';
const reload = engine === 'webkit' ? 'navigate' : 'reload';

describe('a site served with no headers', () => {
  const session = browserSession();

  it('isolates itself with one reload on a first visit and runs threaded; the next visit needs none, nor a server', async (t) => {
    const page = await openPage(session, t, { press: spread.presses[0] });
    assert.deepEqual(await pageState(page), { isolated: true, threaded: threads, vectors: true, loads: reload });
    await assertPlots(page, spreadNative, 'the first visit');
    const next = await openPage(session, t);
    assert.deepEqual(await pageState(next), { isolated: true, threaded: threads, vectors: true, loads: 'navigate' });
    // Active means installed, and installing is caching the site.
    await next.evaluate(() => navigator.serviceWorker.ready.then(() => undefined));
    // Its connections dropped too: nothing answers, as on a machine gone offline.
    await session.server.close();
    await next.reload({ waitUntil: 'load' });
    await waitReady(next);
    assert.deepEqual(await pageState(next), { isolated: true, threaded: threads, vectors: true, loads: 'reload' });
    await pressAndShowSpectrum(next, spread.presses[0]);
    await assertPlots(next, spreadNative, 'offline');
  });
});
