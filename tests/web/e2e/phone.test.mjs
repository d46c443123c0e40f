// On a phone the windows shrink to the screen's width: the plots must shrink
// smoothly, every spectrum line still there, fainter, rather than dropped.
import assert from 'node:assert/strict';
import { describe, it } from 'node:test';
import { browserSession, lacks } from './support/browser.mjs';
import { canvasImage, openPage, plotBox, pressAndShowSpectrum } from './support/panel.mjs';
import { reference } from './support/reference.mjs';

const press = { name: 'FM on a phone', presses: [{ Combo1: 'FM' }], spectrum: true };
const phone = { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true };

// Runs of neighbouring columns holding a red pixel: the spectrum lines seen.
function redLines({ width, height, rgba }) {
  let lines = 0;
  let previous = false;
  for (let x = 0; x < width; x++) {
    let red = false;
    for (let y = 0; y < height && !red; y++) {
      const i = 4 * (y * width + x);
      red = rgba[i] >= 40 && rgba[i + 1] * 2 <= rgba[i] && rgba[i + 2] * 2 <= rgba[i];
    }
    if (red && !previous) lines += 1;
    previous = red;
  }
  return lines;
}

describe('a phone', () => {
  const session = browserSession();

  it('shows every spectrum line of the shrunken plot', { skip: lacks('narrow') }, async () => {
    const native = await reference(press);
    const page = await openPage(session.browser, session.url, { viewport: phone });
    await pressAndShowSpectrum(page, press.presses[0]);
    const box = await plotBox(page, 'Form3');
    assert.ok(box.width < native.images.Form3.width / 2, `the plot shrank to ${box.width} px`);
    // The page shrinks the image itself, into a canvas of the device pixels it covers.
    const shot = await canvasImage(page, 'Form3');
    assert.ok(Math.abs(shot.width - box.width * phone.deviceScaleFactor) <= 1, `${shot.width} device pixels`);
    // Every line the native build draws at the phone's pixel ratio (a stem
    // too short for one pixel at ratio 1 may make one at 3).
    const atRatio = await reference({ ...press, ratio: phone.deviceScaleFactor });
    const expected = redLines(atRatio.images.Form3);
    assert.ok(expected > 5, `${expected} lines natively`);
    assert.equal(redLines(shot), expected, 'spectrum lines seen on the phone');
    await page.close();
  });
});
