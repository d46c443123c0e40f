// Drives the page as a user would: types into the boxes, presses the buttons,
// answers the messages, points at the plots; and reads back what it shows.
// Everything is found by the names the page promises scripts: the windows'
// ids, the controls' data-control, the readout's role, the open <dialog>.
// Only goto, evaluate, waitForFunction, click, keyboard and mouse.move of the
// page are used, which every engine's driver offers (support/browser.mjs).

import fs from 'node:fs';
import { createRequire } from 'node:module';

export const axeSource = fs.readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');

export const control = (form, name) => `#${form} [data-control="${name}"]`;
const textBox = (name) => `#Form1 input[data-control="${name}"], #Form1 [data-control="${name}"] input[type="text"]`;
const poll = (page, fn, timeout = 30000, ...args) => page.waitForFunction(fn, { timeout, polling: 20 }, ...args);

// A page at url (the session's by default), ready, closed when the test t
// ends whatever happened. options: those of launch()'s open, {viewport,
// language}, and press: the entries typed before the panel's press and
// "Visualizza spettro", if given.
export async function openPage(session, t, { url = session.url, press, ...options } = {}) {
  const page = await session.browser.open(options);
  t?.after(() => page.close().catch(() => {}));
  await page.goto(url, { waitUntil: 'load' });
  // A page that never gets ready has usually said why.
  await waitReady(page).catch(async (error) => {
    const state = await page.evaluate(() => JSON.stringify({ ready: document.body?.dataset.ready, isolating: window.trelvano?.isolating, busy: window.trelvano?.busy, url: location.href })).catch(() => '?');
    throw new Error(`${error.message}; script errors: ${await page.scriptErrors().catch(() => '?')}; ${state}`);
  });
  if (press) await pressAndShowSpectrum(page, press);
  return page;
}

// The page marks itself ready once the worker's module has answered and the
// panel is built from its tables; a first visit may then load itself once
// more, isolated, as soon as its service worker takes over.
export async function waitReady(page) {
  await poll(page, (button) => document.body?.dataset.ready === 'true' && !window.trelvano.isolating && document.querySelector(button)?.checkVisibility(), 30000, control('Form1', 'Command2'));
  await waitIdle(page);
}

export const waitIdle = (page, timeout = 30000) => poll(page, () => !window.trelvano.busy, timeout);

export const isShown = (page, form) => page.evaluate((id) => Boolean(document.getElementById(id)?.checkVisibility()), form);

// How the page came to be, and what it runs on.
export const pageState = (page) =>
  page.evaluate(() => ({
    isolated: window.crossOriginIsolated,
    threaded: window.trelvano.threaded,
    vectors: window.trelvano.vectors,
    loads: performance.getEntriesByType('navigation')[0].type,
  }));

// Replaces a box's text the way a user does: click, select all, type.
export async function setText(page, name, text) {
  await page.click(textBox(name));
  await page.keyboard.down('Control');
  await page.keyboard.press('KeyA');
  await page.keyboard.up('Control');
  await page.keyboard.press('Backspace');
  if (text) await page.keyboard.type(text);
}

export const boxTexts = (page, names) =>
  page.evaluate((boxes) => Object.fromEntries(boxes.map(([name, s]) => [name, document.querySelector(s).value])), names.map((n) => [n, textBox(n)]));

// The open message as a screen reader meets it: its title and its text (the
// dialog's name and description), and whether one OK button closes it. The
// next message may come in the same <dialog> at once: its closedOnce, set by
// the close event, is what tells this one was dismissed.
export const openMessage = (page) =>
  page.evaluate(() => {
    const dialog = document.querySelector('dialog[open]');
    if (!dialog) return null;
    const named = (attribute) => document.getElementById(dialog.getAttribute(attribute) ?? '')?.textContent ?? null;
    dialog.closedOnce = false;
    dialog.addEventListener('close', () => (dialog.closedOnce = true), { once: true });
    const ok = [...dialog.querySelectorAll('button')].filter((b) => b.textContent.trim() === 'OK').length === 1;
    return { title: named('aria-labelledby'), text: named('aria-describedby'), ok };
  });

// Clicks a button, answers every message with OK in the order they come, and
// returns their texts once the page is done with the click: window.trelvano.busy
// is the page's word that it is still working or playing what a call caused.
export async function clickAndAnswer(page, form, name, timeout = 120000) {
  const messages = [];
  // A click while the page is busy is dropped, as the desktop drops it.
  await poll(page, () => !window.trelvano.busy && !document.querySelector('dialog[open]'));
  await page.click(control(form, name));
  for (const end = Date.now() + timeout; ; ) {
    await poll(page, () => document.querySelector('dialog[open]') || !window.trelvano.busy, Math.max(1, end - Date.now()));
    const message = await openMessage(page);
    if (message === null) break;
    if (message.title !== 'Trelvano' || !message.ok) throw new Error(`a message box titled ${message.title}, OK: ${message.ok}`);
    messages.push(message.text);
    await page.click('dialog[open] button');
    await poll(page, () => document.getElementById('message').closedOnce);
  }
  return messages;
}

export async function typeEntries(page, entries) {
  for (const [name, text] of Object.entries(entries)) await setText(page, name, text);
}

// Types the entries, presses and shows the spectrum; any message fails it.
export async function pressAndShowSpectrum(page, entries) {
  await typeEntries(page, entries);
  for (const [form, button] of [['Form1', 'Command2'], ['Form2', 'Command1']]) {
    const messages = await clickAndAnswer(page, form, button);
    if (messages.length) throw new Error(`${form}.${button} said: ${messages.join(' | ')}`);
  }
}

// A plot's canvas as RGBA device pixels.
export async function canvasImage(page, form) {
  const image = await page.evaluate((selector) => {
    const canvas = document.querySelector(selector);
    const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    let binary = '';
    for (let i = 0; i < data.length; i += 0x8000) binary += String.fromCharCode(...data.subarray(i, i + 0x8000));
    return { width: canvas.width, height: canvas.height, base64: btoa(binary) };
  }, `#${form} canvas`);
  return { width: image.width, height: image.height, rgba: Buffer.from(image.base64, 'base64') };
}

// The plot's box in the viewport, in CSS pixels, the window scrolled to its top first.
export const plotBox = (page, form) =>
  page.evaluate((form) => {
    document.getElementById(form).scrollIntoView({ block: 'start' });
    const r = document.querySelector(`#${form} canvas`).getBoundingClientRect();
    return { x: r.left, y: r.top, width: r.width, height: r.height };
  }, form);

const shownReadout = () => [...document.querySelectorAll('[role="tooltip"]')].find((e) => e.checkVisibility() && e.textContent.trim())?.textContent.trim();
export async function readoutText(page) {
  await poll(page, shownReadout, 10000);
  return page.evaluate(shownReadout);
}

// The readout with the mouse at (x, y) layout pixels over a window's plot.
export async function mouseReadout(page, form, x, y) {
  const box = await plotBox(page, form);
  await page.mouse.move(box.x + x, box.y + y);
  return readoutText(page);
}
