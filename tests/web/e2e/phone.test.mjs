// On a phone the windows flow into one column rather than shrink: text to be
// read and boxes to be tapped at their sizes, nothing wider than the screen,
// and the plots drawn by the module at their size on screen, pixel for pixel.
import assert from 'node:assert/strict';
import path from 'node:path';
import { describe, it } from 'node:test';
import { browserSession, lacks } from './support/browser.mjs';
import { assertImage } from './support/compare.mjs';
import { canvasImage, openPage, plotBox, pressAndShowSpectrum } from './support/panel.mjs';
import { shots } from './support/paths.mjs';
import { reference } from './support/reference.mjs';

const press = { name: 'FM on a phone', presses: [{ Combo1: 'FM' }], spectrum: true };
export const phones = [
  { file: 'phone-390.png', viewport: { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true } },
  { file: 'phone-320.png', viewport: { width: 320, height: 640, deviceScaleFactor: 2, isMobile: true, hasTouch: true } },
];

// What falls short on the page: text under 12 CSS px (a box's under 16, the
// size under which iOS zooms into it), a control a finger cannot hit (44 × 44),
// and how far the page scrolls sideways.
function shortfalls() {
  const found = [];
  const where = (element) => element.closest('[data-control]')?.id ?? element.id ?? element.className;
  const visible = (element) => element.checkVisibility({ visibilityProperty: true });
  for (const element of document.querySelectorAll('body *')) {
    // Text for screen readers alone takes a pixel.
    const r = element.getBoundingClientRect();
    if (!visible(element) || r.width <= 1 || r.height <= 1) continue;
    const style = getComputedStyle(element);
    const size = parseFloat(style.fontSize);
    const box = element.matches('input[type="text"]');
    const text = [...element.childNodes].some((n) => n.nodeType === Node.TEXT_NODE && n.textContent.trim());
    if (box && size < 16) found.push(`box ${where(element)}: ${size}px`);
    else if (text && size < 12) found.push(`text "${element.textContent.trim().slice(0, 20)}": ${size}px`);
  }
  const controls = '[data-control]:is(input, button, canvas, .combo, .option), .close, .combo li';
  for (const element of document.querySelectorAll(controls)) {
    const r = element.getBoundingClientRect();
    if (element.closest('[hidden]')) continue;
    if (r.width < 44 || r.height < 44) found.push(`control ${where(element)}: ${r.width}x${r.height}`);
    // A window clips what is wider than it rather than scroll.
    const client = element.closest('.client')?.getBoundingClientRect();
    if (client && r.right > client.right + 0.5) found.push(`control ${where(element)} past its window by ${r.right - client.right}px`);
  }
  const room = document.documentElement;
  if (room.scrollWidth > room.clientWidth) found.push(`scrolls ${room.scrollWidth - room.clientWidth}px sideways`);
  return found;
}

describe('a phone', () => {
  const session = browserSession({ lang: 'it-IT' });

  for (const { file, viewport } of phones) {
    it(`${viewport.width} × ${viewport.height} at ratio ${viewport.deviceScaleFactor}`, { skip: lacks('narrow') }, async () => {
      const page = await openPage(session.browser, session.url, { viewport });
      await pressAndShowSpectrum(page, press.presses[0]);
      // The type box's list open, so that its items are measured too.
      await page.click('#Form1 .combo .drop');
      assert.deepEqual(await page.evaluate(shortfalls), []);
      await page.keyboard.press('Escape');
      // Each plot is as many device pixels as its box covers, and they are
      // the module's own image at that size.
      const sizes = [];
      for (const form of ['Form2', 'Form3']) {
        const box = await plotBox(page, form);
        assert.ok(box.width > viewport.width * 0.8, `${form} takes the column: ${box.width}px`);
        sizes.push({ form, width: box.width, height: box.height, ratio: viewport.deviceScaleFactor });
      }
      const native = await reference({ ...press, sizes, separator: ',' });
      for (const { form, width, height, ratio } of sizes) {
        const image = await canvasImage(page, form);
        assert.deepEqual([image.width, image.height], [width * ratio, height * ratio].map(Math.round), `${form}: device pixels`);
        assertImage(image, native.images[form], `${form} at ${width}x${height}`);
      }
      await page.screenshot({ path: path.join(shots, file), fullPage: true });
      await page.close();
    });
  }

  // A page zoomed in is a narrower one: it flows, and its plots are drawn
  // again at their new size and ratio without a press; and again when the
  // window is then made narrower.
  it('flows and redraws when zoomed in and resized', { skip: lacks('narrow') }, async () => {
    const page = await openPage(session.browser, session.url, { viewport: { width: 1366, height: 900 } });
    await pressAndShowSpectrum(page, press.presses[0]);
    let width = (await plotBox(page, 'Form3')).width;
    // What a 250 % zoom does to a 1366 px window: a ratio of 2.5 over 546 CSS px.
    for (const viewport of [{ width: 546, height: 360 }, { width: 420, height: 360 }]) {
      const ratio = 2.5;
      await page.setViewport({ ...viewport, deviceScaleFactor: ratio });
      await page.waitForFunction(
        (form, ratio, before) => {
          const canvas = document.querySelector(`#${form} canvas`);
          const box = canvas.getBoundingClientRect();
          return box.width !== before && canvas.width === Math.round(box.width * ratio);
        },
        { polling: 50, timeout: 10000 },
        'Form3',
        ratio,
        width,
      );
      const box = await plotBox(page, 'Form3');
      assert.ok(box.width < width && box.width > viewport.width * 0.8, `${width} -> ${box.width} CSS px`);
      width = box.width;
      assert.deepEqual(await page.evaluate(shortfalls), []);
      const native = await reference({ ...press, sizes: [{ form: 'Form3', width: box.width, height: box.height, ratio }] });
      assertImage(await canvasImage(page, 'Form3'), native.images.Form3, `Form3 redrawn at ${viewport.width} CSS px`);
    }
    await page.close();
  });
});
