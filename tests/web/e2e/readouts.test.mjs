// The readouts under the pointer and under a finger, in an Italian browser,
// against the native readouts with the decimal comma at the same points.
import assert from 'node:assert/strict';
import { before, describe, it } from 'node:test';
import { browserSession, lacks } from './support/browser.mjs';
import { mouseReadout, openPage, plotBox, plotCanvas, pressAndShowSpectrum, readoutText } from './support/panel.mjs';
import { reference } from './support/reference.mjs';

// Corners, the middle, and points on the plots' lines.
const points = {
  Form2: [[0, 0], [500, 304], [1000, 100], [2, 600]],
  Form3: [[0, 0], [504, 308], [505, 500], [1008, 616]],
};
const readouts = Object.entries(points).flatMap(([form, list]) => list.map(([x, y]) => ({ form, x, y })));
const press = { name: 'FM readouts', presses: [{ Combo1: 'FM' }], spectrum: true, readouts, separator: ',' };

describe('readouts in an Italian browser', () => {
  const session = browserSession({ lang: 'it-IT' });
  let native;
  before(async () => {
    native = await reference(press);
  });

  it('under the mouse, with the decimal comma', async () => {
    const page = await openPage(session.browser, session.url);
    await pressAndShowSpectrum(page, press.presses[0]);
    const seen = [];
    for (const { form, x, y } of readouts) seen.push(await mouseReadout(page, form, x, y));
    assert.deepEqual(seen, native.readouts);
    assert.ok(seen.every((text) => text.includes(',') && !/\d\.\d/.test(text)), seen.join(' | '));
    await page.close();
  });

  it('under a finger dragged over the spectrum on a phone, shown above the finger', { skip: lacks('touch') }, async () => {
    const ratio = 3;
    const page = await openPage(session.browser, session.url, {
      viewport: { width: 390, height: 844, deviceScaleFactor: ratio, isMobile: true, hasTouch: true },
    });
    await pressAndShowSpectrum(page, press.presses[0]);
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
    const tip = await page.$eval('[role="tooltip"]:not([hidden])', (e) => e.getBoundingClientRect().bottom);
    assert.ok(tip < finger.clientY, `the readout ends at ${tip}px, the finger is at ${finger.clientY}px`);
    const sizes = [{ form: 'Form3', width: box.width, height: box.height, ratio }];
    const at = await reference({ ...press, sizes, readouts: [{ form: 'Form3', x: finger.x, y: finger.y }] });
    assert.equal(text, at.readouts[0]);
    await page.close();
  });

  // WebKitGTK reports "C" under a POSIX locale; Intl rejects both tags.
  for (const [language, skip] of [['C', false], ['xx-INVALID-tag', lacks('badTag')]]) {
    it(`with the language tag ${language}, which Intl rejects, with the point`, { skip }, async () => {
      const point = { name: 'FM, one readout', presses: [{ Combo1: 'FM' }], spectrum: true, readouts: [readouts[5]] };
      const [expected] = (await reference(point)).readouts;
      const page = await openPage(session.browser, session.url, { language });
      const rejects = () => {
        try {
          return [navigator.language, !new Intl.NumberFormat(navigator.language)];
        } catch {
          return [navigator.language, true];
        }
      };
      assert.deepEqual(await page.evaluate(rejects), [language, true]);
      await pressAndShowSpectrum(page, point.presses[0]);
      assert.equal(await mouseReadout(page, 'Form3', readouts[5].x, readouts[5].y), expected, language);
      await page.close();
    });
  }
});
