// The readouts under the pointer and under a finger, against the native
// readouts at the same points: with the decimal comma in an Italian browser,
// with the point where the browser's language tag is one Intl rejects.
import assert from 'node:assert/strict';
import { describe, it } from 'node:test';
import { browserSession, lacks } from './support/browser.mjs';
import { mouseReadout, plotBox, plotCanvas, readoutText, usePage } from './support/panel.mjs';
import { reference } from './support/reference.mjs';

// Corners, the middle, and points on the plots' lines.
const points = {
  Form2: [[0, 0], [500, 304], [1000, 100], [2, 600]],
  Form3: [[0, 0], [504, 308], [505, 500], [1008, 616]],
};
const readouts = Object.entries(points).flatMap(([form, list]) => list.map(([x, y]) => ({ form, x, y })));
const press = { presses: [{ Combo1: 'FM' }], spectrum: true, readouts };

describe('readouts in an Italian browser', () => {
  const session = browserSession({ lang: 'it-IT' });

  // WebKitGTK reports "C" under a POSIX locale; Intl rejects both tags.
  const languages = [
    { separator: ',' },
    { language: 'C', separator: '.' },
    { language: 'xx-INVALID-tag', separator: '.', skip: lacks('badTag') },
  ];
  for (const { language, separator, skip } of languages) {
    it(`under the mouse, with the decimal ${language ? `point for the tag ${language}, which Intl rejects` : 'comma'}`, { skip }, async () => {
      const native = await reference({ ...press, separator });
      await usePage(session, { language, press: press.presses[0] }, async (page) => {
        const rejects = () => {
          try {
            return [navigator.language, !new Intl.NumberFormat(navigator.language)];
          } catch {
            return [navigator.language, true];
          }
        };
        if (language) assert.deepEqual(await page.evaluate(rejects), [language, true]);
        const seen = [];
        for (const { form, x, y } of readouts) seen.push(await mouseReadout(page, form, x, y));
        assert.deepEqual(seen, native.readouts);
        const other = separator === ',' ? /\d\.\d/ : /\d,\d/;
        assert.ok(seen.every((text) => text.includes(separator) && !other.test(text)), seen.join(' | '));
      });
    });
  }

  it('under a finger dragged over the spectrum on a phone, shown above the finger', { skip: lacks('touch') }, () => {
    const ratio = 3;
    const viewport = { width: 390, height: 844, deviceScaleFactor: ratio, isMobile: true, hasTouch: true };
    return usePage(session, { viewport, press: press.presses[0] }, async (page) => {
      // Where the page met the finger, from its own pointer events.
      await page.evaluate((selector) => {
        const canvas = document.querySelector(selector);
        canvas.addEventListener('pointermove', (e) => {
          window.finger = { clientY: e.clientY, x: e.clientX - canvas.getBoundingClientRect().left, y: e.clientY - canvas.getBoundingClientRect().top };
        });
      }, plotCanvas('Form3'));
      const box = await plotBox(page, 'Form3');
      const [from, to] = [0.3, 0.6].map((f) => [box.x + f * box.width, box.y + f * box.height]);
      await page.touchscreen.touchStart(...from);
      await page.touchscreen.touchMove(...to);
      const text = await readoutText(page);
      await page.touchscreen.touchEnd();
      const finger = await page.evaluate(() => window.finger);
      const tip = await page.evaluate(() => document.querySelector('[role="tooltip"]:not([hidden])').getBoundingClientRect().bottom);
      assert.ok(tip < finger.clientY, `the readout ends at ${tip}px, the finger is at ${finger.clientY}px`);
      const sizes = [{ form: 'Form3', width: box.width, height: box.height, ratio }];
      const at = await reference({ ...press, separator: ',', sizes, readouts: [{ form: 'Form3', x: finger.x, y: finger.y }] });
      assert.equal(text, at.readouts[0]);
    });
  });
});
