// The three windows of Trelvano as one page. Everything the page shows, texts
// and places alike, comes from the WebAssembly module in the worker; this file
// only turns its forms into elements and its events into what the user sees.

import { followAddress } from './address.js';
import { buildWindows } from './windows.js';
import { singleFile, workerBridge, WorkerDied } from './worker-link.js';

// The page's markup says, in its own words, that the program could not start;
// hidden from here on, unless it could not.
const startFailed = document.getElementById('start-failed');
startFailed.hidden = true;
const desktop = document.getElementById('desktop');
const busyBox = document.getElementById('busy');
const dialog = document.getElementById('message');
const dialogTitle = document.getElementById('message-title');
const dialogText = document.getElementById('message-text');
const announcer = document.getElementById('announce');
let ratio = window.devicePixelRatio || 1;
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
// What each worker's module starts with, kept up to date, so that a worker
// started after one died draws the plots at their size on screen too.
// No warm-up in the single file: Firefox runs every file:// page in one
// process, which a warm-up running in a blob worker as the page starts hung
// in some starts, every page of it with it; the first press is slower there.
const settings = { ratio, separator, sizes: {}, warmUp: !singleFile };
const link = workerBridge(settings);
const call = link.call;

let ui = null; // the windows, their plots and boxes (windows.js)
let title = '';

// The module reads the boxes only when pressed, as the desktop does.
function press() {
  act('press', { texts: Object.fromEntries(ui.textBoxes.map(([name, box]) => [name, box.value])) });
}

// ---- What the module's events do --------------------------------------

function draw(formName, image) {
  ui.plots.get(formName)?.draw(image);
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
  ui.plots.get(name)?.blank();
}

function showReadout({ form, text, x, y }) {
  const plot = ui.plots.get(form);
  if (!plot) return;
  const { tooltip } = plot;
  tooltip.textContent = text;
  if (plot.keyboard) {
    // Said by a screen reader too, which the mark and the tooltip do not reach.
    announcer.textContent = text;
    if (text && typeof x === 'number' && typeof y === 'number') plot.placeMark(x, y);
  }
  if (!text || !(plot.over || plot.keyboard) || ui.windows.get(form).section.hidden) {
    tooltip.hidden = !text || tooltip.hidden;
    return;
  }
  tooltip.hidden = false;
  // Below and to the right of the mouse pointer or the keyboard's cursor,
  // above a finger, which would hide it; always inside the viewport.
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

// Answers are played in the order they came, whatever call they answer: an
// image drawn after a resize never gives way to an older one.
let playing = Promise.resolve();
function play(result) {
  const played = playing.then(() => playEvents(result));
  playing = played.catch(() => {});
  return played;
}

async function playEvents(result) {
  const { events = [], images = {} } = result || {};
  // A window shown and drawn in one answer has one image: it goes on the
  // canvas once, unless the window is closed in between.
  const drawn = new Set();
  const drawOnce = (form) => {
    if (!drawn.has(form)) draw(form, images[form]);
    drawn.add(form);
  };
  for (const event of events) {
    switch (event.event) {
      case 'message':
        await showMessage(event.text);
        break;
      case 'show':
        drawOnce(event.form);
        showWindow(event.form);
        break;
      case 'image':
        drawOnce(event.form);
        break;
      case 'closed':
        drawn.delete(event.form);
        hideWindow(event.form);
        break;
      case 'readout':
        showReadout(event);
        break;
      case 'described':
        ui.plots.get(event.form)?.describe(event.text);
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
let threaded = false;
let vectors = false;
// Whether the page may still load itself again to be isolated (below).
let isolating = false;

// A worker that died took with it what the module had drawn and pointed at:
// the plots go blank and the user is told, once however many calls waited.
let lastLoss = null;
async function lost(error) {
  if (!(error instanceof WorkerDied)) throw error;
  if (error === lastLoss) return;
  lastLoss = error;
  readoutInFlight = false;
  pendingReadouts.clear();
  for (const plot of ui.plots.values()) plot.blank();
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

// Each key moves the cursor from where the last one left it: keys are sent
// one after another, none dropped.
function askKey(plot, key) {
  call('key', { form: plot.form, key }).then(play, lost);
}

// The plots at the size and pixel ratio they have on screen, told to the
// module whenever either changes, which redraws what it last drew.
function layout() {
  const narrow = ui.layout(ratio);
  document.documentElement.classList.toggle('narrow', narrow);
  settings.ratio = ratio;
  for (const plot of ui.plots.values()) {
    const size = { width: plot.width, height: plot.height, ratio };
    if (plot.sent && ['width', 'height', 'ratio'].every((k) => plot.sent[k] === size[k])) continue;
    plot.sent = size;
    settings.sizes[plot.form] = size;
    call('plotSize', { form: plot.form, ...size }).then(play, lost);
  }
}

// A zoom or a move to another screen changes the pixel ratio, which no
// resize need tell.
function watchRatio() {
  matchMedia(`(resolution: ${ratio}dppx)`).addEventListener(
    'change',
    () => {
      ratio = window.devicePixelRatio || 1;
      layout();
      watchRatio();
    },
    { once: true }
  );
}

// ---- Start -------------------------------------------------------------

function start(answer) {
  const forms = answer.forms;
  outOfMemoryText = answer.outOfMemory;
  threaded = answer.threaded;
  vectors = answer.vectors;
  title = forms.title;
  dialog.querySelector('.ok').textContent = forms.ok;
  ui = buildWindows(forms, desktop, {
    press,
    spectrum: () => act('spectrum'),
    close: (form) => act('close', { form }),
    readout: askReadout,
    key: askKey,
  });
  followAddress(ui.links, forms.linkLimit);
  // The module draws at the tables' sizes until told otherwise.
  for (const plot of ui.plots.values()) plot.sent = { width: plot.table.width, height: plot.table.height, ratio };
  layout();
  new ResizeObserver(layout).observe(desktop);
  watchRatio();
  return forms;
}

// A browser without workers throws at once rather than rejecting.
const ready = Promise.resolve()
  .then(() => link.start())
  .then(async (answer) => {
    const forms = start(answer);
    await Promise.all(['bold 11px', '11px'].map((font) => document.fonts.load(`${font} "Trelvano Sans"`)));
    await document.fonts.ready;
    // Hidden windows have no layout to measure: each is shown for a moment.
    const hidden = [...ui.windows.values()].filter((win) => win.section.hidden);
    for (const win of hidden) win.section.hidden = false;
    ui.fitCaptions();
    for (const win of hidden) win.section.hidden = true;
    // The busy bar is named by the button whose press it waits for.
    if (ui.pressButton) busyBox.querySelector('progress').setAttribute('aria-labelledby', ui.pressButton.id);
    // As on the desktop, the panel starts with the focus on its first tab
    // stop; on a phone, where that would raise the keyboard, nowhere.
    if (!ui.windows.get(forms.forms[0].name).flow) ui.windows.get(forms.forms[0].name).focusFirst();
    document.body.dataset.ready = 'true';
  })
  .catch((error) => {
    // No module, no worker, no script: the page says so rather than stay blank.
    if (!ui) {
      startFailed.hidden = false;
      startFailed.classList.add('now');
      return;
    }
    throw error;
  });

// For tests and scripts: whether the page is still working on, or showing,
// what an action caused. For the benchmark: the seconds the last press took
// in the worker.
window.trelvano = {
  ready,
  get lastPressSeconds() {
    return lastPressSeconds;
  },
  // Whether the module that started runs on every core.
  get threaded() {
    return threaded;
  },
  // Whether it takes its cosines with WebAssembly's vectors.
  get vectors() {
    return vectors;
  },
  get isolating() {
    return isolating;
  },
  get busy() {
    return isBusy();
  },
};

// The service worker keeps the site for use offline and serves it isolated
// from other origins, which is what lets the module share memory between
// threads. A first visit, loaded before the worker took it over, is not
// isolated: it is loaded again as soon as the worker takes over, once in the
// tab's life, so that nothing can loop. A page the worker served and still
// not isolated (a reload that bypassed the worker, a browser that will not
// isolate) stays on the single-threaded module. The entries ride along in
// the address.
const RELOADED = 'trelvano-isolated-reload';
if ('serviceWorker' in navigator && /^https?:$/.test(location.protocol) && !singleFile) {
  isolating =
    'crossOriginIsolated' in window && !window.crossOriginIsolated && !navigator.serviceWorker.controller && !sessionStorage.getItem(RELOADED);
  const settle = () => (isolating = false);
  navigator.serviceWorker.addEventListener(
    'controllerchange',
    () => {
      if (!isolating) return;
      sessionStorage.setItem(RELOADED, '1');
      location.reload();
      // A reload the browser does not carry out (offline, after a reload that
      // bypassed the worker) leaves this page as it is, and working.
      setTimeout(settle, 3000);
    },
    { once: true }
  );
  navigator.serviceWorker
    .register('sw.js')
    .then((registration) => {
      // A worker that cannot cache the site never takes the page over.
      const installing = registration.installing || registration.waiting;
      if (!installing) settle();
      else installing.addEventListener('statechange', () => installing.state === 'redundant' && settle());
    })
    .catch(settle);
}
