// The plots on a screen of device pixel ratio 2: drawn at twice the pixels by
// the module, not scaled up by the browser, so that nothing is blended.
import assert from 'node:assert/strict';
import { describe, it } from 'node:test';
import { browserSession } from './support/browser.mjs';
import { assertImage } from './support/compare.mjs';
import { canvasImage, openPage, plotBox, pressAndShowSpectrum } from './support/panel.mjs';
import { nativeForms, reference } from './support/reference.mjs';

const press = { name: 'PM at ratio 2', presses: [{ Combo1: 'PM' }], spectrum: true, ratio: 2 };

function colours(image) {
  const seen = new Set();
  for (let i = 0; i < image.rgba.length; i += 4) seen.add(image.rgba.readUInt32BE(i));
  return [...seen].map((c) => `#${c.toString(16).padStart(8, '0')}`).sort();
}

describe('device pixel ratio 2', () => {
  const session = browserSession();

  it('holds only the background, black and red, as the native image at ratio 2', async () => {
    const [native, forms] = await Promise.all([reference(press), nativeForms()]);
    const page = await openPage(session.browser, session.url, { viewport: { width: 1300, height: 900, deviceScaleFactor: 2 } });
    await pressAndShowSpectrum(page, press.presses[0]);
    for (const form of ['Form2', 'Form3']) {
      const plot = forms.forms.find((f) => f.name === form).controls.find((c) => c.name === 'Picture1');
      const image = await canvasImage(page, form);
      assert.equal(`${image.width}x${image.height}`, `${plot.width * 2}x${plot.height * 2}`, `${form} in device pixels`);
      const allowed = [plot.background, '#000000', '#ff0000'].map((c) => `${c}ff`);
      assert.deepEqual(colours(image).filter((c) => !allowed.includes(c)), [], `${form}: blended colours`);
      assertImage(image, native.images[form], `${form} at ratio 2`);
      // The canvas is shown at its layout size: one canvas pixel to one device pixel.
      const box = await plotBox(page, form);
      assert.deepEqual([box.width, box.height], [plot.width, plot.height], `${form}: CSS size`);
    }
    await page.close();
  });
});
