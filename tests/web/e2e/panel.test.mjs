// The three windows as the native tables lay them out: every control's text,
// place and size, every caption inside its box; and the facts a user knows
// the program by, which no table may lose. Then the table of presses, each
// against the native build's answer to the same entries, made in this run:
// messages in order, the windows shown and the plots' pixels.
import assert from 'node:assert/strict';
import { before, describe, it } from 'node:test';
import { browserSession } from './support/browser.mjs';
import { axeSource, canvasImage, clickAndAnswer, control, isShown, openPage, pressAndShowSpectrum, typeEntries } from './support/panel.mjs';
import { assertImage, assertPlots, nativeForms, reference, withoutFigures } from './support/reference.mjs';

const forms = await nativeForms();

// What each control shows: an entry's or the type box's text, else its caption.
function shown(form, name) {
  const element = document.querySelector(`#${form} [data-control="${name}"]`);
  if (!element) return null;
  const field = element.matches('input[type="text"]') ? element : element.querySelector('input[type="text"]');
  const { left, top, width, height } = element.getBoundingClientRect();
  const fits = element.scrollWidth <= element.clientWidth && element.scrollHeight <= element.clientHeight;
  return { text: field ? field.value : element.textContent.trim(), left, top, width, height, fits, visible: element.checkVisibility() };
}

// The window's name as a screen reader gives it, and whether it is on screen.
const titleOf = (form) => {
  const section = document.getElementById(form);
  const name = document.getElementById(section.getAttribute('aria-labelledby') ?? '');
  return name && name.checkVisibility() ? name.textContent : null;
};

// The entries typed before each press (the rest keep their initial texts).
//   spectrum: "Visualizza spettro" pressed after the last press
//   memory: what memory the machine has differs, so only the words are compared
const cases = [
  { name: 'PM with a smaller index and more samples', presses: [{ Combo1: 'PM', Text6: '2', Text13: '4096' }], spectrum: true },
  { name: 'M1, M2 and M3 in this order, then the run', presses: [{ Combo1: 'AM', Text1: '2.5', Text3: '30.5', Text7: '3.5' }] },
  { name: 'M1, then W rounds to 0 and M4 stops', presses: [{ Combo1: 'AM', Text1: '0.4' }] },
  { name: 'M5: fp above N/4W', presses: [{ Combo1: 'FM', Text3: '126' }] },
  { name: 'M6: the initial type text', presses: [{}] },
  { name: 'M6: a type in lower case', presses: [{ Combo1: 'am' }] },
  { name: 'a negative N stops at the sampling test', presses: [{ Combo1: 'AM', Text13: '-5' }] },
  { name: 'a negative N past the sampling test is refused after the waveform window appeared', presses: [{ Combo1: 'AM', Text1: '-2', Text13: '-1000' }] },
  { name: 'an N past 32 bits is refused', presses: [{ Combo1: 'AM', Text13: '1e10' }] },
  { name: 'a peak voltage past a double is refused', presses: [{ Combo1: 'PM', Text8: '1e400' }] },
  { name: 'an N too large for memory, refused, then a press that works', presses: [{ Combo1: 'FM', Text13: '2000000000' }, { Text13: '2000' }], spectrum: true, memory: true },
];

describe('the panel, the result windows and the presses', () => {
  const session = browserSession({ page: {} });
  let page;
  before(() => (page = session.page));

  it('shows the texts a user knows the program by, names each box by its caption for a screen reader, and tabs through the panel in the native order', async () => {
    const seen = [await page.evaluate(() => document.title), await page.evaluate(titleOf, 'Form1')];
    for (const name of ['Text13', 'Combo1', 'Command2']) seen.push((await page.evaluate(shown, 'Form1', name)).text);
    seen.push(await page.evaluate(() => [...document.querySelectorAll('#Form1 [role="option"]')].map((o) => o.textContent)));
    assert.deepEqual(seen, ['Trelvano', 'Trelvano', '1000', 'Scegli la modulazione', 'Grafici', ['AM', 'FM', 'PM']]);
    const panel = forms.forms[0];
    // The name as axe-core computes it, by the accessible-name rules a browser follows.
    await page.evaluate(axeSource);
    const nameOf = (selector) => {
      const box = document.querySelector(selector);
      window.axe.setup(document);
      const name = window.axe.commons.text.accessibleText(box.matches('input, button') ? box : box.querySelector('input') ?? box);
      window.axe.teardown();
      return name;
    };
    for (const c of panel.controls.filter((c) => c.labelledBy)) {
      const caption = panel.controls.find((l) => l.name === c.labelledBy).text;
      assert.equal(await page.evaluate(nameOf, control('Form1', c.name)), caption, `${c.name}'s accessible name`);
    }
    await page.evaluate((s) => {
      const e = document.querySelector(s);
      (e.matches('input, button') ? e : e.querySelector('input')).focus();
    }, control('Form1', panel.tabOrder[0]));
    const visited = [];
    for (const _ of panel.tabOrder) {
      visited.push(await page.evaluate(() => document.activeElement.closest('[data-control]')?.dataset.control));
      await page.keyboard.press('Tab');
    }
    assert.deepEqual(visited, panel.tabOrder);
  });

  it('places every control of the three windows as the native table does, its caption inside; draws AM with the initial entries', async () => {
    const am = { presses: [{ Combo1: 'AM' }], spectrum: true };
    await pressAndShowSpectrum(page, am.presses[0]);
    await assertPlots(page, await reference(am), am.presses[0].Combo1);
    assert.equal(await page.evaluate(titleOf, 'Form2'), "Forme d'onda reali");
    assert.equal(await page.evaluate(titleOf, 'Form3'), 'Spettro');
    for (const form of forms.forms) {
      const visible = form.controls.filter((c) => c.kind !== 'hidden');
      // Places are compared from the window's first control, so that the
      // title bar and the frame, which the desktop draws its own way, do not count.
      const origin = await page.evaluate(shown, form.name, visible[0].name);
      for (const c of visible) {
        const where = `${form.name}.${c.name}`;
        const s = await page.evaluate(shown, form.name, c.name);
        assert.ok(s?.visible, `${where} is missing or hidden`);
        const place = [s.left - origin.left, s.top - origin.top, s.width, s.height].map(Math.round);
        assert.deepEqual(place, [c.left - visible[0].left, c.top - visible[0].top, c.width, c.height], `${where}: left, top, width, height`);
        if (c.kind === 'entry' || c.kind === 'typebox') {
          if (c.name !== 'Combo1') assert.equal(s.text, c.text, `${where}'s initial text`);
        } else if (c.text !== undefined) {
          assert.equal(s.text, c.text, `${where}'s caption`);
          assert.ok(s.fits, `${where}'s caption "${c.text}" overflows its box`);
        }
      }
    }
  });

  for (const c of cases) {
    it(`a press: ${c.name}`, async (t) => {
      const native = await reference(c);
      const page = await openPage(session, t);
      for (const [i, entries] of c.presses.entries()) {
        await typeEntries(page, entries);
        const messages = await clickAndAnswer(page, 'Form1', 'Command2');
        const expected = native.presses[i];
        const words = c.memory ? withoutFigures : (text) => text;
        assert.deepEqual(messages.map(words), expected.messages.map(words), `messages of press ${i + 1}`);
        for (const form of ['Form2', 'Form3']) assert.equal(await isShown(page, form), expected.shown.includes(form), `${form} after press ${i + 1}`);
      }
      if (c.spectrum) {
        assert.deepEqual(await clickAndAnswer(page, 'Form2', 'Command1'), []);
        assert.ok(await isShown(page, 'Form3'), 'the spectrum window after "Visualizza spettro"');
      }
      for (const [form, image] of Object.entries(native.images)) {
        if (await isShown(page, form)) assertImage(await canvasImage(page, form), image, `${c.name}, ${form}`);
      }
      assert.deepEqual(await page.scriptErrors(), [], 'script errors in the page');
    });
  }
});
