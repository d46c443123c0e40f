// The table of presses in the page, each against the native build's answer to
// the same entries, made in this run: messages in order, windows shown, peaks,
// line counts and the plots' pixels.
import assert from 'node:assert/strict';
import { describe, it } from 'node:test';
import { browserSession } from './support/browser.mjs';
import { canvasImage, clickAndAnswer, isShown, typeEntries, usePage } from './support/panel.mjs';
import { assertImage, reference, withoutFigures } from './support/reference.mjs';

// The entries typed before each press (the rest keep their initial texts).
//   spectrum: "Visualizza spettro" pressed after the last press
//   memory: what memory the machine has differs, so only the words are compared
const cases = [
  { name: 'AM with the initial entries', presses: [{ Combo1: 'AM' }], spectrum: true },
  { name: 'FM', presses: [{ Combo1: 'FM' }], spectrum: true },
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

describe('presses against the native build', () => {
  const session = browserSession();

  for (const c of cases) {
    it(c.name, async (t) => {
      const native = await reference(c);
      await usePage(session, {}, async (page) => {
        for (const [i, entries] of c.presses.entries()) {
          await typeEntries(page, entries);
          const messages = await clickAndAnswer(page, 'Form1', 'Command2');
          const expected = native.presses[i];
          t.diagnostic(`press ${i + 1}: ${messages.length} messages, ${expected.shown.join(' ') || 'no window'} shown`);
          const words = c.memory ? withoutFigures : (text) => text;
          assert.deepEqual(messages.map(words), expected.messages.map(words), `messages of press ${i + 1}`);
          for (const form of ['Form2', 'Form3']) assert.equal(await isShown(page, form), expected.shown.includes(form), `${form} after press ${i + 1}`);
        }
        if (c.spectrum) {
          assert.deepEqual(await clickAndAnswer(page, 'Form2', 'Command1'), []);
          assert.ok(await isShown(page, 'Form3'), 'the spectrum window after "Visualizza spettro"');
        }
        for (const [form, image] of Object.entries(native.images)) {
          if (!(await isShown(page, form))) continue;
          const differing = assertImage(await canvasImage(page, form), image, `${c.name}, ${form}`);
          t.diagnostic(`${form}: ${differing} of ${image.width * image.height} pixels differ from the native image`);
        }
        assert.deepEqual(await page.scriptErrors(), [], 'script errors in the page');
      });
    });
  }
});
