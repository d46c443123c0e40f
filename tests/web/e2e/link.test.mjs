// A teacher's link: the boxes' texts in the page's address under the names the
// module's tables give them, put in as if typed, and the address kept up to
// date as the boxes change; a malformed link changes nothing.
import assert from 'node:assert/strict';
import { pathToFileURL } from 'node:url';
import { before, describe, it } from 'node:test';
import { browserSession } from './support/browser.mjs';
import { boxTexts, canvasImage, pressAndShowSpectrum, setText, usePage } from './support/panel.mjs';
import { singleFile } from './support/paths.mjs';
import { assertImage, nativeForms, reference } from './support/reference.mjs';

describe('a link to an exercise', () => {
  const session = browserSession();
  let boxes; // control name -> {link, text}
  let limit;
  let initial;
  const query = (texts) => new URLSearchParams(Object.entries(texts).map(([name, text]) => [boxes[name].link, text])).toString();
  before(async () => {
    const forms = await nativeForms();
    limit = forms.linkLimit;
    boxes = Object.fromEntries(forms.forms[0].controls.filter((c) => c.link).map((c) => [c.name, c]));
    initial = Object.fromEntries(Object.entries(boxes).map(([name, c]) => [name, c.text]));
  });

  it('opens with its texts, its press the same texts typed; malformed, or markup, it changes nothing else', async () => {
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
    const native = await reference({ presses: [typed], spectrum: true });
    for (const [what, [search, texts]] of Object.entries(links)) {
      await usePage(session, { url: `${session.url}?${search}` }, async (page) => {
        assert.deepEqual(await boxTexts(page, Object.keys(boxes)), { ...initial, ...texts }, what);
        assert.deepEqual(await page.evaluate(() => [document.querySelectorAll('img').length, window.injected ?? 'none']), [0, 'none'], what);
        if (what !== 'typed') return;
        await pressAndShowSpectrum(page, {});
        for (const form of ['Form2', 'Form3']) assertImage(await canvasImage(page, form), native.images[form], form);
      });
    }
  });

  // Served and from a disk alike: history.replaceState changes the query of a file:// address too.
  for (const [where, url] of [['served', () => session.url], ['from a disk', () => pathToFileURL(singleFile).href]]) {
    it(`follows the boxes in the address, with no new history entry, ${where}`, () =>
      usePage(session, { url: `${url()}?lezione=3&${query({ Text8: '12' })}` }, async (page) => {
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
      }));
  }
});
