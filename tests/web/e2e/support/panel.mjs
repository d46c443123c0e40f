// Drives the page as a user would: types into the boxes, presses the buttons,
// answers the messages, points at the plots; and reads back what it shows.
// Everything is found by the names the page promises scripts: the windows'
// ids, the controls' data-control, the readout's role, the open <dialog>.

export const control = (form, name) => `#${form} [data-control="${name}"]`;

// serviceWorker: false fetches every file from the server, past the site's
// service worker and its cache; language: the tag navigator.language reports.
export async function openPage(browser, url, { viewport, serviceWorker = true, language } = {}) {
  const page = await browser.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(String(error)));
  page.errors = errors;
  if (viewport) await page.setViewport(viewport);
  if (language) await page.evaluateOnNewDocument((tag) => Object.defineProperty(navigator, 'language', { get: () => tag }), language);
  if (!serviceWorker) await page.setBypassServiceWorker(true);
  await page.goto(url, { waitUntil: 'load' });
  try {
    await waitReady(page);
  } catch (error) {
    // A page that never gets ready has usually said why.
    error.message += errors.length ? `; script errors: ${errors.join('; ')}` : '';
    throw error;
  }
  return page;
}

// The page marks itself ready once the worker's module has answered and the
// panel is built from its tables.
export async function waitReady(page, timeout = 30000) {
  await page.waitForFunction(() => document.body?.dataset.ready === 'true', { timeout, polling: 20 });
  await page.waitForSelector(control('Form1', 'Command2'), { visible: true, timeout });
  await waitIdle(page, timeout);
}

export async function waitIdle(page, timeout = 30000) {
  await page.waitForFunction(() => !window.trelvano.busy, { timeout, polling: 20 });
}

export async function isShown(page, form) {
  return page.$eval(`#${form}`, (element) => element.checkVisibility()).catch(() => false);
}

// Replaces a box's text the way a user does: select all, type.
export async function setText(page, name, text) {
  const box = await page.$(`#Form1 input[data-control="${name}"], #Form1 [data-control="${name}"] input[type="text"]`);
  if (!box) throw new Error(`no box ${name}`);
  await box.click({ clickCount: 3 });
  await page.keyboard.down('Control');
  await page.keyboard.press('KeyA');
  await page.keyboard.up('Control');
  await page.keyboard.press('Backspace');
  if (text) await box.type(text);
}

// The open message as a screen reader meets it: its title and its text (the
// dialog's name and description), and whether an OK button closes it.
export function openMessage(page) {
  return page.evaluate(() => {
    const dialog = document.querySelector('dialog[open]');
    if (!dialog) return null;
    const named = (attribute) => document.getElementById(dialog.getAttribute(attribute) ?? '')?.textContent ?? null;
    const ok = [...dialog.querySelectorAll('button')].filter((b) => b.textContent.trim() === 'OK');
    return { title: named('aria-labelledby'), text: named('aria-describedby'), ok: ok.length === 1 };
  });
}

// Clicks a button, answers every message with OK in the order they come, and
// returns their texts once the page is done with the click: window.trelvano.busy
// is the page's word that it is still working or playing what a call caused.
export async function clickAndAnswer(page, form, name, timeout = 120000) {
  const messages = [];
  // A click while the page is busy is dropped, as the desktop drops it.
  await page.waitForFunction(() => !window.trelvano.busy && !document.querySelector('dialog[open]'), { polling: 20 });
  await page.click(control(form, name));
  const end = Date.now() + timeout;
  for (;;) {
    await page.waitForFunction(
      () => document.querySelector('dialog[open]') || !window.trelvano.busy,
      { timeout: Math.max(1, end - Date.now()), polling: 20 },
    );
    const message = await openMessage(page);
    if (message === null) break;
    if (message.title !== 'Trelvano' || !message.ok) throw new Error(`a message box titled ${message.title}, OK: ${message.ok}`);
    messages.push(message.text);
    // The next message may come in the same <dialog> at once: its close event
    // is what tells this one was dismissed.
    const closed = await page.evaluateHandle(() => ({
      done: new Promise((resolve) => document.querySelector('dialog[open]').addEventListener('close', resolve, { once: true })),
    }));
    await page.click('dialog[open] button');
    await closed.evaluate((c) => c.done.then(() => undefined));
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

export const plotCanvas = (form) => `#${form} canvas[data-control="Picture1"], #${form} [data-control="Picture1"] canvas`;

// A plot's canvas as RGBA device pixels.
export async function canvasImage(page, form) {
  const image = await page.$eval(plotCanvas(form), (canvas) => {
    const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    let binary = '';
    for (let i = 0; i < data.length; i += 0x8000) binary += String.fromCharCode(...data.subarray(i, i + 0x8000));
    return { width: canvas.width, height: canvas.height, base64: btoa(binary) };
  });
  return { width: image.width, height: image.height, rgba: Buffer.from(image.base64, 'base64') };
}

// The plot's box on the screen, in CSS pixels, and how many of them a layout
// pixel of the window takes (less than one on a narrow screen).
export async function plotBox(page, form) {
  return page.$eval(plotCanvas(form), (canvas) => {
    const r = canvas.getBoundingClientRect();
    return { x: r.left, y: r.top, width: r.width, height: r.height };
  });
}

export async function readoutText(page) {
  await page.waitForFunction(
    () => [...document.querySelectorAll('[role="tooltip"]')].some((e) => e.checkVisibility() && e.textContent.trim()),
    { timeout: 10000, polling: 20 },
  );
  return page.evaluate(() =>
    [...document.querySelectorAll('[role="tooltip"]')].find((e) => e.checkVisibility() && e.textContent.trim()).textContent.trim(),
  );
}

// The readout with the mouse at (x, y) layout pixels over a window's plot.
export async function mouseReadout(page, form, x, y, scale = 1) {
  const box = await plotBox(page, form);
  await page.mouse.move(box.x + x * scale, box.y + y * scale);
  return readoutText(page);
}

// Rows of pixels (or pixels in all) that differ between two RGBA images.
export function differingPixels(a, b) {
  let count = 0;
  for (let i = 0; i < a.length; i += 4) {
    if (a[i] !== b[i] || a[i + 1] !== b[i + 1] || a[i + 2] !== b[i + 2] || a[i + 3] !== b[i + 3]) count += 1;
  }
  return count;
}
