// The page in an Italian browser: the plots' readouts from the keyboard and
// under the pointer against the native build's, with the decimal comma and,
// where Intl rejects the language tag, the point; and the page on four
// screens at WCAG 2.2 AA by axe-core, its plots the module's own images at
// their size on screen. A picture of each screen for a person to look at, in
// build-web/shots/ (build-web/shots/ENGINE/ for the other engines).
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { describe, it } from 'node:test';
import { browserSession, engine, lacks } from './support/browser.mjs';
import { axeSource, canvasImage, control, isShown, mouseReadout, openPage, plotBox, readoutText, setText } from './support/panel.mjs';
import { shots } from './support/paths.mjs';
import { assertImage, reference } from './support/reference.mjs';

const press = { presses: [{ Combo1: 'FM' }], spectrum: true, separator: ',' };
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

// Tabs to the plot from its window's close button, then presses each key and
// waits for the cursor the native build moved to with the same keys.
async function pressKeys(page, form, keys) {
  const native = await reference({ ...press, keys: keys.map((key) => ({ form, key })) });
  const start = (form, source) => {
    window.cursorOf = new Function(`return ${source}`)();
    document.getElementById(form).scrollIntoView({ block: 'start' });
    document.querySelector(`#${form} .close`).focus();
  };
  await page.evaluate(start, form, cursorOf.toString());
  await page.keyboard.press('Tab');
  const [focused, ring, description, scrolled] = await page.evaluate((form) => {
    const canvas = document.querySelector(`#${form} canvas`);
    const ring = canvas.matches(':focus-visible') && getComputedStyle(canvas).outlineStyle !== 'none';
    return [document.activeElement === canvas, ring, document.getElementById(canvas.getAttribute('aria-describedby').split(' ')[0]).textContent, window.scrollY];
  }, form);
  // Where a driver's keys do not count as the keyboard's, no ring can be asked for.
  assert.deepEqual([focused, ring || lacks('keyboardFocusVisible') !== false, description], [true, true, native.described[form]], `${form}: focus, ring, description`);
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
  assert.equal(await page.evaluate(() => window.scrollY), scrolled, 'the page scrolled');
  return native.keys;
}

const phone = { isMobile: true, hasTouch: true };
const screens = [
  { name: 'desktop-ratio2', viewport: { width: 1366, height: 900, deviceScaleFactor: 2 } },
  { name: 'tablet-ratio2', viewport: { width: 768, height: 1024, deviceScaleFactor: 2 } },
  { name: 'phone-ratio3', viewport: { width: 390, height: 844, deviceScaleFactor: 3, ...phone } },
  { name: 'small-phone-ratio2', viewport: { width: 320, height: 640, deviceScaleFactor: 2, ...phone } },
];

// A picture for a person to look at, and no violation of WCAG 2.2 AA that axe-core finds.
async function pictureAndViolations(page, name) {
  const dir = engine === 'chromium' ? shots : path.join(shots, engine);
  fs.mkdirSync(dir, { recursive: true });
  fs.writeFileSync(path.join(dir, `${name}.png`), await page.screenshot({ fullPage: true }));
  await page.evaluate(axeSource);
  const found = await page.evaluate(() =>
    window.axe
      .run(document, { runOnly: { type: 'tag', values: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa'] } })
      .then((r) => r.violations.map((v) => `${v.id} (${v.impact}): ${v.help}\n    ${v.nodes.map((n) => n.target.join(' ')).join('\n    ')}`)),
  );
  assert.equal(found.join('\n'), '', name);
}

// The readout where the page met a finger dragged over the spectrum, from its
// own pointer events, against the native one there; shown above the finger.
async function fingerReadout(page, ratio) {
  await page.evaluate(() => {
    const canvas = document.querySelector('#Form3 canvas');
    canvas.addEventListener('pointermove', (e) => {
      const r = canvas.getBoundingClientRect();
      window.finger = { clientY: e.clientY, x: e.clientX - r.left, y: e.clientY - r.top };
    });
  });
  const box = await plotBox(page, 'Form3');
  const [from, to] = [0.3, 0.6].map((f) => [box.x + f * box.width, box.y + f * box.height]);
  await page.touchscreen.touchStart(...from);
  await page.touchscreen.touchMove(...to);
  const text = await readoutText(page);
  await page.touchscreen.touchEnd();
  const [finger, tip] = await page.evaluate(() => [window.finger, document.querySelector('[role="tooltip"]:not([hidden])').getBoundingClientRect().bottom]);
  assert.ok(tip < finger.clientY, `the readout ends at ${tip}px, the finger is at ${finger.clientY}px`);
  const sizes = [{ form: 'Form3', width: box.width, height: box.height, ratio }];
  const native = await reference({ ...press, sizes, readouts: [{ form: 'Form3', x: finger.x, y: finger.y }] });
  assert.equal(text, native.readouts[0]);
}

// What falls short on a phone: text under 12 CSS px (a box's under 16, the
// size under which iOS zooms into it), a control a finger cannot hit (44 × 44),
// and how far the page scrolls sideways.
function shortfalls() {
  const found = [];
  const where = (element) => element.closest('[data-control]')?.id ?? element.id ?? element.className;
  for (const element of document.querySelectorAll('body *')) {
    // Text for screen readers alone takes a pixel.
    const r = element.getBoundingClientRect();
    if (!element.checkVisibility({ visibilityProperty: true }) || r.width <= 1 || r.height <= 1) continue;
    const size = parseFloat(getComputedStyle(element).fontSize);
    const text = [...element.childNodes].some((n) => n.nodeType === Node.TEXT_NODE && n.textContent.trim());
    if (element.matches('input[type="text"]') && size < 16) found.push(`box ${where(element)}: ${size}px`);
    else if (text && size < 12) found.push(`text "${element.textContent.trim().slice(0, 20)}": ${size}px`);
  }
  for (const element of document.querySelectorAll('[data-control]:is(input, button, canvas, .combo, .option), .close, .combo li')) {
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

describe('the page in an Italian browser', () => {
  const session = browserSession({ lang: 'it-IT', page: { press: press.presses[0] } });

  // Where the module's cursor goes is the native build's to test; here, that the page shows it there.
  it('from the keyboard: the plots take the focus with a ring, move the cursor as the native build does, the readout the mouse gives there, and never scroll the page; under the mouse, with the decimal comma', async () => {
    const keys = await pressKeys(session.page, 'Form2', ['last', 'previous', 'previous', 'up', 'up', 'left', 'first', 'next', 'next', 'down']);
    const { x, y, text } = shown(keys.at(-1));
    // The pointer can stand where the cursor does only where a driver places it between pixels.
    if (!lacks('subpixelPointer')) assert.equal(await mouseReadout(session.page, 'Form2', x, y), text, 'the mouse at the cursor');
    await pressKeys(session.page, 'Form3', ['first', 'next', 'next', 'right', 'down', 'last', 'previous']);
    await mouseReadouts(session.page, ',');
  });

  // A page zoomed in is a narrower one: it flows, and its plots are drawn
  // again at their new size and ratio without a press; and again when the
  // window is then made narrower. The shared page is done with after this.
  it('flows and redraws when zoomed in and resized', { skip: lacks('narrow') }, async () => {
    const page = session.page;
    let width = (await plotBox(page, 'Form3')).width;
    // What a 250 % zoom does to a 1366 px window: a ratio of 2.5 over 546 CSS px.
    const ratio = 2.5;
    for (const viewport of [{ width: 546, height: 360 }, { width: 420, height: 360 }]) {
      await page.setViewport({ ...viewport, deviceScaleFactor: ratio });
      const redrawn = (ratio, before) => {
        const canvas = document.querySelector('#Form3 canvas');
        const box = canvas.getBoundingClientRect();
        return box.width !== before && canvas.width === Math.round(box.width * ratio);
      };
      await page.waitForFunction(redrawn, { polling: 50, timeout: 10000 }, ratio, width);
      const box = await plotBox(page, 'Form3');
      assert.ok(box.width < width && box.width > viewport.width * 0.8, `${width} -> ${box.width} CSS px`);
      width = box.width;
      assert.deepEqual(await page.evaluate(shortfalls), []);
      const native = await reference({ ...press, sizes: [{ form: 'Form3', width: box.width, height: box.height, ratio }] });
      assertImage(await canvasImage(page, 'Form3'), native.images.Form3, `Form3 redrawn at ${viewport.width} CSS px`);
    }
  });

  // WebKitGTK reports "C" under a POSIX locale, a tag Intl rejects as it does any invalid one.
  it('under the mouse, with the decimal point for the tag C, which Intl rejects', async (t) => {
    const page = await openPage(session, t, { language: 'C', press: press.presses[0] });
    const rejected = () => {
      try {
        new Intl.NumberFormat(navigator.language);
      } catch {
        return navigator.language;
      }
    };
    assert.equal(await page.evaluate(rejected), 'C');
    await mouseReadouts(page, '.');
  });

  for (const { name, viewport } of screens) {
    const ratio = viewport.deviceScaleFactor;
    const finger = viewport.hasTouch && !lacks('touch');
    it(`${name}: the three windows${finger ? ", a finger's readout" : ''}, then a message over them`, { skip: viewport.width < 447 && lacks('narrow') }, async (t) => {
      const page = await openPage(session, t, { viewport, press: press.presses[0] });
      for (const form of ['Form1', 'Form2', 'Form3']) assert.ok(await isShown(page, form), form);
      if (viewport.isMobile) {
        // The type box's list open, so that its items are measured too.
        await page.click('#Form1 .combo .drop');
        assert.deepEqual(await page.evaluate(shortfalls), []);
        await page.keyboard.press('Escape');
      }
      // Each plot is as many device pixels as its box covers, and they are
      // the module's own image at that size.
      for (const form of ['Form2', 'Form3']) {
        const { width, height } = await plotBox(page, form);
        if (viewport.isMobile) assert.ok(width > viewport.width * 0.8, `${form} takes the column: ${width}px`);
        const native = await reference({ ...press, sizes: [{ form, width, height, ratio }] });
        const image = await canvasImage(page, form);
        assert.deepEqual([image.width, image.height], [width * ratio, height * ratio].map(Math.round), `${form}: device pixels`);
        assertImage(image, native.images[form], `${form} at ${width}x${height}`);
      }
      await pictureAndViolations(page, name);
      if (finger) await fingerReadout(page, ratio);
      // A refused N: its message opens over the three windows.
      await setText(page, 'Text13', '10');
      await page.click(control('Form1', 'Command2'));
      await page.waitForFunction(() => document.querySelector('dialog[open]')?.checkVisibility(), { polling: 20 });
      await pictureAndViolations(page, `${name}-message`);
    });
  }
});
