// The three windows of Trelvano as one page. Everything the page shows, texts
// and places alike, comes from the WebAssembly module in the worker; this file
// only turns its forms into elements and its events into what the user sees.

import { renderPlot } from './plot-image.js';
import { buildWindows } from './windows.js';
import { singleFile, workerBridge, WorkerDied } from './worker-link.js';

const desktop = document.getElementById('desktop');
const busyBox = document.getElementById('busy');
const dialog = document.getElementById('message');
const dialogTitle = document.getElementById('message-title');
const dialogText = document.getElementById('message-text');
const ratio = window.devicePixelRatio || 1;
// A language tag the browser's own Intl rejects (WebKitGTK reports "C" under
// a POSIX locale) must not stop the page before it is built: it reads as the
// point, as a C locale does on the desktop.
const separator = (() => {
  try {
    const part = new Intl.NumberFormat(navigator.language || 'en').formatToParts(1.5).find((p) => p.type === 'decimal');
    return part ? part.value : '.';
  } catch {
    return '.';
  }
})();

// ---- The worker -------------------------------------------------------

// The bridge starts a worker for the first call after one died; the page
// only says so, with the module's own words, fetched while it could.
let outOfMemoryText = '';
// No warm-up in the single file: Firefox runs every file:// page in one
// process, which a warm-up running in a blob worker as the page starts hung
// in some starts, every page of it with it; the first press is slower there.
const link = workerBridge({ ratio, separator, warmUp: !singleFile });
const call = link.call;

let ui = null; // the windows, their plots and boxes (windows.js)
let title = '';

// The module reads the boxes only when pressed, as the desktop does.
function press() {
  act('press', { texts: Object.fromEntries(ui.textBoxes.map(([name, box]) => [name, box.value])) });
}

// ---- What the module's events do --------------------------------------

// The plot's image as the module drew it stays in plot.pixels; the canvas
// shows it pixel for pixel, or, in a window scaled down for a narrow
// screen, shrunk to the pixels it covers there.
function blank(plot) {
  plot.pixels = null;
  renderPlot(plot, ratio);
}

function draw(formName, image) {
  const plot = ui.plots.get(formName);
  if (!plot || !image) return;
  plot.pixels =
    image.width > 0 && image.height > 0
      ? new ImageData(new Uint8ClampedArray(image.buffer), image.width, image.height)
      : null;
  renderPlot(plot, ratio);
}

function showWindow(name) {
  const win = ui.windows.get(name);
  if (!win) return;
  win.section.hidden = false;
  // Brought to the front: the last shown window is the one in view.
  for (const other of ui.windows.values()) other.section.classList.toggle('front', other === win);
  win.section.scrollIntoView({ block: 'nearest', inline: 'nearest' });
  win.focusFirst();
}

function hideWindow(name) {
  const win = ui.windows.get(name);
  if (!win) return;
  win.section.hidden = true;
  const plot = ui.plots.get(name);
  if (plot) {
    plot.tooltip.hidden = true;
    blank(plot);
  }
}

function showReadout(name, text) {
  const plot = ui.plots.get(name);
  if (!plot) return;
  const { tooltip } = plot;
  tooltip.textContent = text;
  if (!text || !plot.over || ui.windows.get(name).section.hidden) {
    tooltip.hidden = !text || tooltip.hidden;
    return;
  }
  tooltip.hidden = false;
  // Below and to the right of the mouse pointer, above a finger, which would
  // hide it; always inside the viewport.
  const room = document.documentElement;
  const left = plot.touch
    ? Math.min(plot.clientX - tooltip.offsetWidth / 2, room.clientWidth - tooltip.offsetWidth - 2)
    : Math.min(plot.clientX + 12, room.clientWidth - tooltip.offsetWidth - 2);
  const below = plot.clientY + 20;
  const above = plot.clientY - tooltip.offsetHeight - (plot.touch ? 40 : 8);
  const top = plot.touch || below + tooltip.offsetHeight > room.clientHeight ? (above >= 0 ? above : below) : below;
  tooltip.style.left = `${Math.max(0, left)}px`;
  tooltip.style.top = `${Math.max(0, top)}px`;
}

// The desktop's message box blocks its caller; here the events after a
// message wait until it is dismissed, so the order on screen is the same.
let messages = Promise.resolve();
let lastClosed = -Infinity;
// Two messages in a row are two boxes, the second opening a moment after
// the first closed, as on the desktop: a screen reader announces each, and
// a script sees each one close.
const pause = () => new Promise((resolve) => setTimeout(resolve, Math.max(0, lastClosed + 100 - performance.now())));
function showMessage(text) {
  const shown = messages.then(pause).then(
    () =>
      new Promise((resolve) => {
        const back = document.activeElement;
        dialogTitle.textContent = title;
        dialogText.textContent = text;
        dialog.addEventListener(
          'close',
          () => {
            const target = back && back.isConnected && !back.closest('[hidden]') ? back : ui.pressButton;
            if (target) target.focus({ preventScroll: true });
            lastClosed = performance.now();
            resolve();
          },
          { once: true }
        );
        dialog.showModal();
        dialog.querySelector('.ok').focus();
      })
  );
  messages = shown;
  return shown;
}

async function play(result) {
  const { events = [], images = {} } = result || {};
  for (const event of events) {
    switch (event.event) {
      case 'message':
        await showMessage(event.text);
        break;
      case 'show':
        draw(event.form, images[event.form]);
        showWindow(event.form);
        break;
      case 'image':
        draw(event.form, images[event.form]);
        break;
      case 'closed':
        hideWindow(event.form);
        break;
      case 'readout':
        showReadout(event.form, event.text);
        break;
      default:
        break;
    }
  }
}

// ---- Actions, the busy state and the readouts -------------------------

let busy = false;
let busyTimer = 0;
function setBusy(on) {
  busy = on;
  document.body.classList.toggle('busy', on);
  desktop.setAttribute('aria-busy', String(on));
  clearTimeout(busyTimer);
  if (on) busyTimer = setTimeout(() => (busyBox.hidden = false), 250);
  else busyBox.hidden = true;
}

const isBusy = () => busy;
let lastPressSeconds = null;

// A worker that died took with it what the module had drawn and pointed at:
// the plots go blank and the user is told, once however many calls waited.
let lastLoss = null;
async function lost(error) {
  if (!(error instanceof WorkerDied)) throw error;
  if (error === lastLoss) return;
  lastLoss = error;
  readoutInFlight = false;
  pendingReadouts.clear();
  for (const plot of ui.plots.values()) blank(plot);
  await showMessage(outOfMemoryText);
}

async function act(op, args) {
  if (isBusy() || dialog.open) return;
  setBusy(true);
  let result = null;
  let loss = null;
  try {
    result = await call(op, args);
  } catch (error) {
    loss = error;
  } finally {
    setBusy(false);
  }
  if (result && typeof result.seconds === 'number') lastPressSeconds = result.seconds;
  // Until the events are played, with their messages, the panel stays as busy.
  busy = true;
  try {
    await (loss ? lost(loss) : play(result));
  } finally {
    busy = false;
  }
}

// While a press runs, the desktop takes no input at all; here clicks and
// keys on the windows are dropped until it is over. Pointer moves pass, for
// the readouts.
for (const type of ['pointerdown', 'mousedown', 'mouseup', 'click', 'dblclick', 'keydown', 'keypress', 'beforeinput']) {
  desktop.addEventListener(
    type,
    (e) => {
      if (isBusy()) {
        e.preventDefault();
        e.stopImmediatePropagation();
      }
    },
    true
  );
}

// Moves are coalesced: while one readout is on its way, only the latest
// position of each plot waits, so a long scan never queues up behind the pointer.
const pendingReadouts = new Map();
let readoutInFlight = false;
function askReadout(plot, x, y) {
  pendingReadouts.set(plot.form, { x, y });
  pumpReadouts();
}
async function pumpReadouts() {
  if (readoutInFlight || pendingReadouts.size === 0) return;
  const [form, { x, y }] = pendingReadouts.entries().next().value;
  pendingReadouts.delete(form);
  readoutInFlight = true;
  let result;
  try {
    result = await call('readout', { form, x, y });
  } catch (error) {
    readoutInFlight = false;
    await lost(error);
    return;
  }
  readoutInFlight = false;
  await play(result);
  pumpReadouts();
}

// ---- Start -------------------------------------------------------------

const ready = link.start().then(async (answer) => {
  const forms = answer.forms;
  outOfMemoryText = answer.outOfMemory;
  title = forms.title;
  dialog.querySelector('.ok').textContent = forms.ok;
  ui = buildWindows(forms, desktop, ratio, {
    press,
    spectrum: () => act('spectrum'),
    close: (form) => act('close', { form }),
    readout: askReadout,
  });
  ui.fit();
  window.addEventListener('resize', ui.fit);
  await Promise.all(['bold 11px', '11px'].map((font) => document.fonts.load(`${font} "Trelvano Sans"`)));
  await document.fonts.ready;
  // Hidden windows have no layout to measure: each is shown for a moment.
  const hidden = [...ui.windows.values()].filter((win) => win.section.hidden);
  for (const win of hidden) win.section.hidden = false;
  ui.fitCaptions();
  for (const win of hidden) win.section.hidden = true;
  // The busy bar is named by the button whose press it waits for.
  if (ui.pressButton) busyBox.querySelector('progress').setAttribute('aria-labelledby', ui.pressButton.id);
  // As on the desktop, the panel starts with the focus on its first tab stop.
  ui.windows.get(forms.forms[0].name).focusFirst();
  document.body.dataset.ready = 'true';
});

// For tests and scripts: whether the page is still working on, or showing,
// what an action caused. For the benchmark: the seconds the last press took
// in the worker.
window.trelvano = {
  ready,
  get lastPressSeconds() {
    return lastPressSeconds;
  },
  get busy() {
    return isBusy();
  },
};

if ('serviceWorker' in navigator && /^https?:$/.test(location.protocol) && !singleFile) {
  navigator.serviceWorker.register('sw.js').catch(() => {});
}
