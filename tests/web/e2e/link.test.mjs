// A teacher's link: the boxes' texts in the page's address under the names the
// module's tables give them, put in as if typed, and the address kept up to
// date as the boxes change; a malformed link changes nothing. And the page
// where no server answers: the single file opened from a disk, and the site
// reloaded from its service worker.
import assert from 'node:assert/strict';
import { pathToFileURL } from 'node:url';
import { describe, it } from 'node:test';
import { browserSession } from './support/browser.mjs';
import { boxTexts, canvasImage, clickAndAnswer, isShown, openPage, pressAndShowSpectrum, setText, typeEntries, waitReady } from './support/panel.mjs';
import { singleFile } from './support/paths.mjs';
import { assertImage, nativeForms, reference } from './support/reference.mjs';

const fromDisk = () => pathToFileURL(singleFile).href;
const offline = { presses: [{ Combo1: 'FM', Text13: '4000' }] };
const native = await reference(offline);
const { linkLimit: limit, forms } = await nativeForms();
const boxes = Object.fromEntries(forms[0].controls.filter((c) => c.link).map((c) => [c.name, c])); // control name -> {link, text}
const initial = Object.fromEntries(Object.entries(boxes).map(([name, c]) => [name, c.text]));
const query = (texts) => new URLSearchParams(Object.entries(texts).map(([name, text]) => [boxes[name].link, text])).toString();

describe('a link to an exercise, and the page without a server', () => {
  const session = browserSession();

  it('opens with its texts, its press the same texts typed; malformed, or markup, it changes nothing else', async (t) => {
    const typed = { Combo1: 'FM', Text8: '12.5', Text3: '40', Text13: '2000', Text6: '1.5' };
    const markup = '<img src=x onerror="window.injected=1">';
    const links = {
      typed: [query(typed), typed],
      unknown: ['Vpp=30&TIPO=FM&Text13=2000', {}],
      repeated: [`${query({ Text13: '2000' })}&${query({ Text13: '3000' })}`, {}],
      empty: [query({ Text13: '', Combo1: '' }), {}],
      'over-long': [query({ Text13: `${'0'.repeat(limit)}5` }), {}],
      // Markup is text like any other: in the box as written, in no element.
      markup: [query({ Combo1: markup }), { Combo1: markup }],
    };
    const typedNative = await reference({ presses: [typed], spectrum: true });
    for (const [what, [search, texts]] of Object.entries(links)) {
      const page = await openPage(session, t, { url: `${session.url}?${search}` });
      assert.deepEqual(await boxTexts(page, Object.keys(boxes)), { ...initial, ...texts }, what);
      assert.deepEqual(await page.evaluate(() => [document.querySelectorAll('img').length, window.injected ?? 'none']), [0, 'none'], what);
      if (what === 'typed') {
        await pressAndShowSpectrum(page, {});
        for (const form of ['Form2', 'Form3']) assertImage(await canvasImage(page, form), typedNative.images[form], form);
      }
      await page.close();
    }
  });

  // Served and from a disk alike: history.replaceState changes the query of a file:// address too.
  for (const [where, url] of [['served', () => session.url], ['from a disk', fromDisk]]) {
    it(`follows the boxes in the address, with no new history entry, ${where}`, async (t) => {
      const page = await openPage(session, t, { url: `${url()}?lezione=3&${query({ Text8: '12' })}` });
      const entries = await page.evaluate(() => history.length);
      await setText(page, 'Text13', '2500');
      await setText(page, 'Combo1', 'PM');
      await setText(page, 'Text8', initial.Text8);
      const address = new URL(await page.evaluate(() => location.href));
      assert.equal(address.searchParams.toString(), `lezione=3&${query({ Text13: '2500', Combo1: 'PM' })}`);
      assert.equal(await page.evaluate(() => history.length), entries, 'history entries');
      await page.reload({ waitUntil: 'load' });
      await page.waitForFunction(() => document.body.dataset.ready === 'true');
      assert.deepEqual(await boxTexts(page, Object.keys(boxes)), { ...initial, Text13: '2500', Combo1: 'PM' });
    });
  }

  async function pressWorks(page, what) {
    await typeEntries(page, offline.presses[0]);
    assert.deepEqual(await clickAndAnswer(page, 'Form1', 'Command2'), [], what);
    assert.ok(await isShown(page, 'Form2'), what);
    assertImage(await canvasImage(page, 'Form2'), native.images.Form2, `${what}: Form2`);
    assert.deepEqual(await page.scriptErrors(), [], what);
  }

  // Firefox once froze on the single file from file:// in some runs.
  it('opens trelvano.html from file:// twenty times in a row, and a press works each time', async (t) => {
    for (let i = 1; i <= 20; i++) {
      const page = await openPage(session, t, { url: fromDisk() });
      // No page from a disk is isolated: the single module, always, in the
      // build with vectors, which every engine here has.
      assert.deepEqual(await page.evaluate(() => [window.trelvano.threaded, window.trelvano.vectors]), [false, true]);
      await pressWorks(page, `opening ${i}`);
      await page.close();
    }
  });

  // The last test here: it takes the server down.
  it('reloads offline from the service worker after one visit, and a press works', async (t) => {
    const page = await openPage(session, t);
    // Active means installed, and installing is caching the site.
    await page.evaluate(() => navigator.serviceWorker.ready.then(() => undefined));
    // Its connections dropped too: nothing answers, as on a machine gone offline.
    await session.server.close();
    await page.reload({ waitUntil: 'load' });
    await waitReady(page);
    await pressWorks(page, 'offline');
  });
});
