// A teacher's link: the boxes' texts in the page's address under the names the
// module's tables give them, put in as if typed, and the address kept up to
// date as the boxes change; a malformed link changes nothing.
import assert from 'node:assert/strict';
import { pathToFileURL } from 'node:url';
import { before, describe, it } from 'node:test';
import { browserSession } from './support/browser.mjs';
import { assertImage } from './support/compare.mjs';
import { canvasImage, openPage, pressAndShowSpectrum, setText } from './support/panel.mjs';
import { singleFile } from './support/paths.mjs';
import { nativeForms, reference } from './support/reference.mjs';

// Each box's text by its control's name.
const boxTexts = (page, names) =>
  page.evaluate(
    (names) =>
      Object.fromEntries(
        names.map((name) => {
          const box = document.querySelector(`#Form1 [data-control="${name}"]`);
          return [name, (box.matches('input') ? box : box.querySelector('input')).value];
        }),
      ),
    names,
  );

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

  it('opens with its texts, and its press is the same texts typed', async () => {
    const typed = { Combo1: 'FM', Text8: '12.5', Text3: '40', Text13: '2000', Text6: '1.5' };
    const native = await reference({ presses: [typed], spectrum: true });
    const page = await openPage(session.browser, `${session.url}?${query(typed)}`);
    assert.deepEqual(await boxTexts(page, Object.keys(boxes)), { ...initial, ...typed });
    await pressAndShowSpectrum(page, {});
    for (const form of ['Form2', 'Form3']) assertImage(await canvasImage(page, form), native.images[form], form);
    await page.close();
  });

  it('changes nothing when malformed', async () => {
    const markup = '<img src=x onerror="window.injected=1">';
    const links = {
      unknown: 'Vpp=30&TIPO=FM&Text13=2000',
      repeated: `${query({ Text13: '2000' })}&${query({ Text13: '3000' })}`,
      empty: query({ Text13: '', Combo1: '' }),
      'over-long': query({ Text13: `${'0'.repeat(limit)}5` }),
    };
    for (const [what, search] of Object.entries(links)) {
      const page = await openPage(session.browser, `${session.url}?${search}`);
      assert.deepEqual(await boxTexts(page, Object.keys(boxes)), initial, what);
      await page.close();
    }
    // Markup is text like any other: in the box as written, in no element.
    const page = await openPage(session.browser, `${session.url}?${query({ Combo1: markup })}`);
    assert.equal((await boxTexts(page, ['Combo1'])).Combo1, markup);
    assert.deepEqual(await page.evaluate(() => [document.querySelectorAll('img').length, window.injected ?? 'none']), [0, 'none']);
    await page.close();
  });

  // Served and from a disk alike: history.replaceState changes the query of a file:// address too.
  it('follows the boxes in the address, with no new history entry', async () => {
    for (const url of [session.url, pathToFileURL(singleFile).href]) {
      const page = await openPage(session.browser, `${url}?lezione=3&${query({ Text8: '12' })}`);
      const entries = await page.evaluate(() => history.length);
      await setText(page, 'Text13', '2500');
      await setText(page, 'Combo1', 'PM');
      await setText(page, 'Text8', initial.Text8);
      const address = new URL(await page.evaluate(() => location.href));
      assert.equal(address.searchParams.toString(), `lezione=3&${query({ Text13: '2500', Combo1: 'PM' })}`, url);
      assert.equal(await page.evaluate(() => history.length), entries, `${url}: history entries`);
      await page.reload({ waitUntil: 'load' });
      await page.waitForFunction(() => document.body.dataset.ready === 'true');
      assert.deepEqual(await boxTexts(page, Object.keys(boxes)), { ...initial, Text13: '2500', Combo1: 'PM' }, url);
      await page.close();
    }
  });
});
