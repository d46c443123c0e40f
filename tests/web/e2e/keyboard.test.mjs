// The plots from the keyboard: each takes the focus with a ring, its keys move
// the module's cursor, whose readout goes to the tooltip at the mark and to
// screen readers, and the plot is described in the module's words.
import assert from 'node:assert/strict';
import { after, before, describe, it } from 'node:test';
import { browserSession, lacks } from './support/browser.mjs';
import { canvasImage, mouseReadout, openPage, plotBox, plotCanvas, pressAndShowSpectrum } from './support/panel.mjs';
import { reference } from './support/reference.mjs';

const keyOf = {
  previous: ['ArrowLeft'],
  next: ['ArrowRight'],
  first: ['Home'],
  last: ['End'],
  left: ['Shift', 'ArrowLeft'],
  right: ['Shift', 'ArrowRight'],
  up: ['Shift', 'ArrowUp'],
  down: ['Shift', 'ArrowDown'],
};
const waveKeys = ['last', 'previous', 'previous', 'up', 'up', 'left', 'first', 'next', 'next', 'down'];
const press = { name: 'FM from the keyboard', presses: [{ Combo1: 'FM' }], spectrum: true, separator: ',' };

// The cursor as the page shows it: the tooltip's text, the mark's place over
// the plot to a tenth of a CSS pixel (as the style sheet holds it), what the
// live region says.
const tenth = (v) => (typeof v === 'number' ? Math.round(v * 10) / 10 : v);
const shown = (k) => ({ text: k.text, x: tenth(k.x), y: tenth(k.y), said: k.text });
const cursor = (form) => {
  const tenth = (v) => Math.round(v * 10) / 10;
  const canvas = document.querySelector(`#${form} canvas`);
  const mark = canvas.parentElement.querySelector('.cursor-mark');
  const tooltip = document.getElementById(`${form}-Picture1-readout`);
  return {
    text: tooltip.hidden ? null : tooltip.textContent,
    x: mark.hidden ? null : tenth(parseFloat(mark.style.left) - canvas.offsetLeft),
    y: mark.hidden ? null : tenth(parseFloat(mark.style.top) - canvas.offsetTop),
    said: document.querySelector('[aria-live="polite"]').textContent,
  };
};

// Presses each key on the focused plot and waits for the cursor the native
// build moved to with the same keys; returns what the page showed.
async function pressKeys(page, form, keys, expected) {
  const seen = [];
  for (const [i, key] of keys.entries()) {
    const chord = keyOf[key];
    for (const k of chord) await page.keyboard.down(k);
    for (const k of [...chord].reverse()) await page.keyboard.up(k);
    const want = shown(expected[i]);
    await page
      .waitForFunction(
        (source, form, want) => JSON.stringify(new Function(`return ${source}`)()(form)) === JSON.stringify(want),
        { polling: 20, timeout: 5000 },
        cursor.toString(),
        form,
        want,
      )
      .catch(() => {});
    seen.push(await page.evaluate(cursor, form));
  }
  return seen;
}

describe('the plots from the keyboard', () => {
  const session = browserSession({ lang: 'it-IT' });
  let page;
  before(async () => {
    page = await openPage(session.browser, session.url);
    await pressAndShowSpectrum(page, press.presses[0]);
  });
  // A WebKit page is a browser of its own, which the session's close leaves
  // open; elsewhere that close, which runs first, took the page with it.
  after(() => page?.close().catch(() => {}));

  it('take the focus first in their window, with a ring, described as the module says', async () => {
    const native = await reference(press);
    for (const form of ['Form2', 'Form3']) {
      await page.focus(`#${form} .close`);
      await page.keyboard.press('Tab');
      const focused = await page.evaluate(
        (selector) => {
          const canvas = document.querySelector(selector);
          const description = document.getElementById(canvas.getAttribute('aria-describedby').split(' ')[0]);
          return {
            focused: document.activeElement === canvas,
            ring: canvas.matches(':focus-visible') && getComputedStyle(canvas).outlineStyle !== 'none',
            description: description.textContent,
          };
        },
        plotCanvas(form),
      );
      // Where a driver's keys do not count as the keyboard's, no ring can be asked for.
      const ring = !lacks('keyboardFocusVisible');
      assert.deepEqual(focused, { focused: true, ring: ring ? true : focused.ring, description: native.described[form] }, form);
      assert.ok(native.described[form], `${form} is described`);
    }
  });

  it('move the cursor as the native build does, the readout the mouse gives there, and never scroll the page', async () => {
    const keys = waveKeys.map((key) => ({ form: 'Form2', key }));
    const native = await reference({ ...press, keys });
    await page.$eval('#Form2', (e) => e.scrollIntoView({ block: 'start' }));
    await page.focus(plotCanvas('Form2'));
    const scrolled = await page.evaluate(() => window.scrollY);
    const seen = await pressKeys(page, 'Form2', waveKeys, native.keys);
    assert.deepEqual(seen, native.keys.map(shown));
    assert.equal(await page.evaluate(() => window.scrollY), scrolled, 'the page scrolled');
    const { x, y, text } = seen.at(-1);
    // The pointer can stand where the cursor does only where a driver places it between pixels.
    if (!lacks('subpixelPointer')) assert.equal(await mouseReadout(page, 'Form2', x, y), text, 'the mouse at the cursor');
  });

  // A column of the canvas holding red is a spectrum line seen; neighbours
  // are one line.
  function redRuns({ width, height, rgba }) {
    const runs = [];
    for (let x = 0; x < width; x++) {
      let red = false;
      for (let y = 0; y < height && !red; y++) {
        const i = 4 * (y * width + x);
        red = rgba[i] >= 40 && rgba[i + 1] * 2 <= rgba[i] && rgba[i + 2] * 2 <= rgba[i];
      }
      if (red && runs.at(-1)?.[1] === x - 1) runs.at(-1)[1] = x;
      else if (red) runs.push([x, x]);
    }
    return runs;
  }

  it('step through exactly the spectrum lines in view with Right', async () => {
    const image = await canvasImage(page, 'Form3');
    const ratio = image.width / (await plotBox(page, 'Form3')).width;
    const runs = redRuns(image);
    assert.ok(runs.length > 5, `${runs.length} lines seen`);
    const steps = ['first', ...Array(runs.length + 1).fill('next')];
    const native = await reference({ ...press, keys: steps.map((key) => ({ form: 'Form3', key })) });
    await page.$eval('#Form3', (e) => e.scrollIntoView({ block: 'start' }));
    await page.focus(plotCanvas('Form3'));
    const seen = await pressKeys(page, 'Form3', steps, native.keys);
    assert.deepEqual(seen, native.keys.map(shown));
    // Past the last line Right stays there: the places visited, in order, as
    // the module holds them (the page's are the same to a tenth of a pixel).
    const visited = [...new Set(native.keys.map((k) => k.x))];
    const runOf = visited.map((x) => runs.findIndex(([from, to]) => Math.floor(x * ratio) >= from && Math.floor(x * ratio) <= to));
    assert.deepEqual(runOf, runs.map((_, i) => i), `columns ${visited.join(' ')} against lines ${runs.map((r) => r.join('-')).join(' ')}`);
  });
});
