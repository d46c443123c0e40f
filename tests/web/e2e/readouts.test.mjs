// The plots' readouts against the native build's. From the keyboard: each
// plot takes the focus with a ring, its keys move the module's cursor, whose
// readout goes to the tooltip at the mark and to screen readers, and the plot
// is described in the module's words. Under the pointer: with the decimal
// comma in an Italian browser, with the point where the browser's language
// tag is one Intl rejects.
import assert from 'node:assert/strict';
import { describe, it } from 'node:test';
import { browserSession, lacks } from './support/browser.mjs';
import { canvasImage, mouseReadout, plotBox, usePage } from './support/panel.mjs';
import { reference } from './support/reference.mjs';

const press = { presses: [{ Combo1: 'FM' }], spectrum: true };
// Corners, the middle, and points on the plots' lines.
const points = {
  Form2: [[0, 0], [500, 304], [1000, 100], [2, 600]],
  Form3: [[0, 0], [504, 308], [505, 500], [1008, 616]],
};
const readouts = Object.entries(points).flatMap(([form, list]) => list.map(([x, y]) => ({ form, x, y })));

async function mouseReadouts(page, separator) {
  const native = await reference({ ...press, separator, readouts });
  const seen = [];
  for (const { form, x, y } of readouts) seen.push(await mouseReadout(page, form, x, y));
  assert.deepEqual(seen, native.readouts);
  const other = separator === ',' ? /\d\.\d/ : /\d,\d/;
  assert.ok(seen.every((text) => text.includes(separator) && !other.test(text)), seen.join(' | '));
}

// The page's keys by the module's names: an arrow alone, with Shift.
const keyOf = { previous: ['ArrowLeft'], next: ['ArrowRight'], first: ['Home'], last: ['End'] };
for (const way of ['Left', 'Right', 'Up', 'Down']) keyOf[way.toLowerCase()] = ['Shift', `Arrow${way}`];

// The cursor as the page shows it: the tooltip's text, the mark's place over
// the plot to a tenth of a CSS pixel (as the style sheet holds it), what the
// live region says; and as the native build moved it, which the page must show.
function cursorOf(form) {
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
}
const tenth = (v) => (typeof v === 'number' ? Math.round(v * 10) / 10 : v);
const shown = (k) => ({ text: k.text, x: tenth(k.x), y: tenth(k.y), said: k.text });

// Tabs to the plot from its window's close button, which must give it the
// focus with a ring, described as the module says; presses each key and waits
// for the cursor the native build moved to with the same keys: the page must
// show each of them, and never scroll.
async function pressKeys(page, form, keys) {
  const native = await reference({ ...press, separator: ',', keys: keys.map((key) => ({ form, key })) });
  await page.evaluate(
    (form, source) => {
      window.cursorOf = new Function(`return ${source}`)();
      document.getElementById(form).scrollIntoView({ block: 'start' });
      document.querySelector(`#${form} .close`).focus();
    },
    form,
    cursorOf.toString(),
  );
  await page.keyboard.press('Tab');
  const focused = await page.evaluate((form) => {
    const canvas = document.querySelector(`#${form} canvas`);
    return {
      focused: document.activeElement === canvas,
      ring: canvas.matches(':focus-visible') && getComputedStyle(canvas).outlineStyle !== 'none',
      description: document.getElementById(canvas.getAttribute('aria-describedby').split(' ')[0]).textContent,
      scrolled: window.scrollY,
    };
  }, form);
  // Where a driver's keys do not count as the keyboard's, no ring can be asked for.
  const ring = lacks('keyboardFocusVisible') ? focused.ring : true;
  assert.deepEqual(focused, { focused: true, ring, description: native.described[form], scrolled: focused.scrolled }, form);
  assert.ok(native.described[form], `${form} is described`);
  const seen = [];
  for (const [i, key] of keys.entries()) {
    for (const k of keyOf[key]) await page.keyboard.down(k);
    for (const k of [...keyOf[key]].reverse()) await page.keyboard.up(k);
    const want = JSON.stringify(shown(native.keys[i]));
    await page.waitForFunction((form, want) => JSON.stringify(cursorOf(form)) === want, { polling: 20, timeout: 5000 }, form, want).catch(() => {});
    seen.push(await page.evaluate((form) => cursorOf(form), form));
  }
  assert.deepEqual(seen, native.keys.map(shown));
  assert.equal(await page.evaluate(() => window.scrollY), focused.scrolled, 'the page scrolled');
  return native.keys;
}

// A column of the canvas holding red is a spectrum line seen; neighbours are one line.
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

describe('the readouts in an Italian browser', () => {
  const session = browserSession({ lang: 'it-IT', page: { press: press.presses[0] } });

  it('from the keyboard: the plots take the focus with a ring, move the cursor as the native build does, the readout the mouse gives there, and never scroll the page', async () => {
    const keys = await pressKeys(session.page, 'Form2', ['last', 'previous', 'previous', 'up', 'up', 'left', 'first', 'next', 'next', 'down']);
    const { x, y, text } = shown(keys.at(-1));
    // The pointer can stand where the cursor does only where a driver places it between pixels.
    if (!lacks('subpixelPointer')) assert.equal(await mouseReadout(session.page, 'Form2', x, y), text, 'the mouse at the cursor');
  });

  it('from the keyboard: Right steps through exactly the spectrum lines in view', async () => {
    const image = await canvasImage(session.page, 'Form3');
    const ratio = image.width / (await plotBox(session.page, 'Form3')).width;
    const runs = redRuns(image);
    assert.ok(runs.length > 5, `${runs.length} lines seen`);
    const keys = await pressKeys(session.page, 'Form3', ['first', ...Array(runs.length + 1).fill('next')]);
    // Past the last line Right stays there: the places visited, in order, as
    // the module holds them (the page's are the same to a tenth of a pixel).
    const visited = [...new Set(keys.map((k) => k.x))];
    const runOf = visited.map((x) => runs.findIndex(([from, to]) => Math.floor(x * ratio) >= from && Math.floor(x * ratio) <= to));
    assert.deepEqual(runOf, runs.map((_, i) => i), `columns ${visited.join(' ')} against lines ${runs.map((r) => r.join('-')).join(' ')}`);
  });

  it('under the mouse, with the decimal comma', () => mouseReadouts(session.page, ','));

  // WebKitGTK reports "C" under a POSIX locale; Intl rejects both tags.
  for (const [language, skip] of [['C', false], ['xx-INVALID-tag', lacks('badTag')]]) {
    it(`under the mouse, with the decimal point for the tag ${language}, which Intl rejects`, { skip }, () =>
      usePage(session, { language, press: press.presses[0] }, async (page) => {
        const rejects = () => {
          try {
            return [navigator.language, !new Intl.NumberFormat(navigator.language)];
          } catch {
            return [navigator.language, true];
          }
        };
        assert.deepEqual(await page.evaluate(rejects), [language, true]);
        await mouseReadouts(page, '.');
      }));
  }
});
