// The readouts under the pointer and under a finger, in an Italian browser,
// against the native readouts with the decimal comma at the same points.
import assert from 'node:assert/strict';
import { after, before, describe, it } from 'node:test';
import { launch } from './support/browser.mjs';
import { clickAndAnswer, mouseReadout, openPage, plotBox, readoutText, typeEntries } from './support/panel.mjs';
import { site } from './support/paths.mjs';
import { reference } from './support/reference.mjs';
import { serve } from './support/server.mjs';

// Corners, the middle, and points on the plots' lines.
const points = {
  Form2: [[0, 0], [500, 304], [1000, 100], [2, 600]],
  Form3: [[0, 0], [504, 308], [505, 500], [1008, 616]],
};
const readouts = Object.entries(points).flatMap(([form, list]) => list.map(([x, y]) => ({ form, x, y })));
const press = { name: 'FM readouts', presses: [{ Combo1: 'FM' }], spectrum: true, readouts, separator: ',' };

async function pressAndShow(page) {
  await typeEntries(page, press.presses[0]);
  assert.deepEqual(await clickAndAnswer(page, 'Form1', 'Command2'), []);
  assert.deepEqual(await clickAndAnswer(page, 'Form2', 'Command1'), []);
}

describe('readouts in an Italian browser', () => {
  let browser;
  let server;
  let native;
  before(async () => {
    native = await reference(press);
    server = await serve(site);
    browser = await launch({ lang: 'it-IT' });
  });
  after(async () => {
    await browser?.close();
    await server?.close();
  });

  it('under the mouse, with the decimal comma', async () => {
    const page = await openPage(browser, server.url);
    await pressAndShow(page);
    const seen = [];
    for (const { form, x, y } of readouts) {
      await page.bringToFront();
      await page.$eval(`#${form}`, (e) => e.scrollIntoView({ block: 'start' }));
      seen.push(await mouseReadout(page, form, x, y));
    }
    assert.deepEqual(seen, native.readouts);
    assert.ok(seen.every((text) => text.includes(',') && !/\d\.\d/.test(text)), seen.join(' | '));
    await page.close();
  });

  it('under a finger dragged over the spectrum on a phone', async () => {
    const page = await openPage(browser, server.url, {
      viewport: { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true },
    });
    await pressAndShow(page);
    await page.$eval('#Form3', (e) => e.scrollIntoView({ block: 'start' }));
    const box = await plotBox(page, 'Form3');
    const layoutWidth = native.images.Form3.width / 1;
    const scale = box.width / layoutWidth;
    const [start, end] = [points.Form3[1], points.Form3[3]].map(([x, y]) => [x * 0.98, y * 0.98]);
    await page.touchscreen.touchStart(box.x + start[0] * scale, box.y + start[1] * scale);
    await page.touchscreen.touchMove(box.x + end[0] * scale, box.y + end[1] * scale);
    const text = await readoutText(page);
    await page.touchscreen.touchEnd();
    // The finger's point in layout pixels is the one the page scaled back.
    const at = await reference({ ...press, readouts: [{ form: 'Form3', x: end[0], y: end[1] }] });
    assert.equal(text, at.readouts[0]);
    await page.close();
  });
});
