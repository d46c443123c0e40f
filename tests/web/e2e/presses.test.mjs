// The table of presses in the page, each against the native build's answer to
// the same entries, made in this run: messages in order, windows shown, peaks,
// line counts and the plots' pixels.
import assert from 'node:assert/strict';
import { describe, it } from 'node:test';
import { browserSession } from './support/browser.mjs';
import { cases } from './support/cases.mjs';
import { assertImage, withoutFigures } from './support/compare.mjs';
import { canvasImage, clickAndAnswer, isShown, openPage, typeEntries } from './support/panel.mjs';
import { reference } from './support/reference.mjs';

describe('presses against the native build', () => {
  const session = browserSession();

  for (const c of cases) {
    it(c.name, async (t) => {
      const native = await reference(c);
      const page = await openPage(session.browser, session.url);
      for (const [i, entries] of c.presses.entries()) {
        await typeEntries(page, entries);
        const messages = await clickAndAnswer(page, 'Form1', 'Command2');
        const expected = native.presses[i];
        t.diagnostic(`press ${i + 1}: ${messages.length} messages, ${expected.shown.join(' ') || 'no window'} shown`);
        if (c.memory) assert.deepEqual(messages.map(withoutFigures), expected.messages.map(withoutFigures), `press ${i + 1}`);
        else assert.deepEqual(messages, expected.messages, `messages of press ${i + 1}`);
        for (const form of ['Form2', 'Form3']) {
          assert.equal(await isShown(page, form), expected.shown.includes(form), `${form} after press ${i + 1}`);
        }
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
      await page.close();
    });
  }
});
