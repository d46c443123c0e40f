'use strict';
// The three windows of Trelvano as one page. Everything the page shows, texts
// and places alike, comes from the WebAssembly module in the worker; this file
// only turns its forms into elements and its events into what the user sees.

(() => {
  const desktop = document.getElementById('desktop');
  const busyBox = document.getElementById('busy');
  const dialog = document.getElementById('message');
  const dialogTitle = document.getElementById('message-title');
  const dialogText = document.getElementById('message-text');
  const windowTemplate = document.getElementById('window-template');
  const comboTemplate = document.getElementById('combo-template');

  const pointsToPx = (points) => (points * 96) / 72;
  const ratio = window.devicePixelRatio || 1;
  const separator = (() => {
    const language = navigator.language || 'en';
    const part = new Intl.NumberFormat(language).formatToParts(1.5).find((p) => p.type === 'decimal');
    return part ? part.value : '.';
  })();

  // ---- The worker -------------------------------------------------------

  // Filled in by the single-file build: the module and the worker as one
  // script, the wasm as base64, since file:// lets no worker load a file.
  const inlineSource = document.getElementById('worker-source');
  const inlineWasm = document.getElementById('wasm-binary');
  let wasmBinary = null;
  let workerUrl = 'worker.js';
  if (inlineSource) {
    workerUrl = URL.createObjectURL(new Blob([inlineSource.textContent], { type: 'text/javascript' }));
    const bytes = atob(inlineWasm.textContent.trim());
    wasmBinary = new Uint8Array(bytes.length);
    for (let i = 0; i < bytes.length; i++) wasmBinary[i] = bytes.charCodeAt(i);
  }

  let worker = null;
  let nextId = 1;
  const waiting = new Map();
  let outOfMemoryText = '';

  function call(op, args = {}) {
    const current = worker;
    return new Promise((resolve) => {
      const id = nextId++;
      waiting.set(id, { resolve, worker: current });
      current.postMessage({ id, op, args });
    });
  }

  function startWorker() {
    const started = new Worker(workerUrl);
    worker = started;
    started.onmessage = (e) => {
      const { id, result, fatal } = e.data;
      if (fatal) {
        workerDied(started);
        return;
      }
      const entry = waiting.get(id);
      if (entry) {
        waiting.delete(id);
        entry.resolve(result);
      }
    };
    // An abort in the module (out of memory above all) leaves a worker that can
    // do nothing more; so does an error the module could not turn into a message.
    started.onerror = (e) => {
      e.preventDefault();
      workerDied(started);
    };
    return call('init', { ratio, separator, wasmBinary });
  }

  let restarting = false;
  async function workerDied(dead) {
    if (dead !== worker || restarting) return;
    restarting = true;
    dead.terminate();
    // Whatever waited on the dead worker gets no events.
    for (const [id, entry] of waiting) {
      if (entry.worker === dead) {
        waiting.delete(id);
        entry.resolve({ events: [], images: {} });
      }
    }
    readoutInFlight = false;
    pendingReadouts.clear();
    for (const plot of plots.values()) blank(plot);
    setBusy(true);
    try {
      await startWorker();
    } finally {
      setBusy(false);
    }
    await showMessage(outOfMemoryText);
    restarting = false;
  }

  // ---- Building the windows ---------------------------------------------

  const windows = new Map(); // form name -> {section, client, viewport, width, height, focusFirst}
  const plots = new Map(); // form name -> {canvas, tooltip, background, width, height}
  let title = '';
  let pressButton = null;
  const textBoxes = []; // [name, element] whose text a press reads

  function fontOf(font) {
    return `${font.bold ? 'bold' : 'normal'} ${pointsToPx(font.points)}px "Trelvano Sans", "DejaVu Sans Condensed", sans-serif`;
  }

  function place(element, control) {
    element.style.left = `${control.left}px`;
    element.style.top = `${control.top}px`;
    element.style.width = `${control.width}px`;
    element.style.height = `${control.height}px`;
  }

  function controlId(form, name) {
    return `${form.name}-${name}`;
  }

  function makeLabel(form, control) {
    const label = document.createElement('div');
    label.className = control.align === 'centre' ? 'label centre' : 'label';
    label.textContent = control.text || '';
    return label;
  }

  function makeEntry(form, control) {
    const box = document.createElement('input');
    box.type = 'text';
    box.className = 'entry';
    box.value = control.text || '';
    box.spellcheck = false;
    box.autocomplete = 'off';
    box.setAttribute('autocapitalize', 'off');
    if (control.align === 'centre') box.style.textAlign = 'center';
    textBoxes.push([control.name, box]);
    return box;
  }

  function makeButton(form, control, action) {
    const button = document.createElement('button');
    button.type = 'button';
    button.className = 'button';
    const face = document.createElement('span');
    face.textContent = control.text || '';
    button.append(face);
    // A button runs on click, and a click comes from the mouse, Space and Enter alike.
    button.addEventListener('click', action);
    return button;
  }

  function makeOption(form, control) {
    const option = document.createElement('label');
    option.className = 'option';
    const radio = document.createElement('input');
    radio.type = 'radio';
    radio.name = `${form.name}-options`;
    const caption = document.createElement('span');
    caption.textContent = control.text || '';
    option.append(radio, caption);
    return [option, radio];
  }

  function makeTypeBox(form, control) {
    const box = comboTemplate.content.firstElementChild.cloneNode(true);
    const field = box.querySelector('input');
    const button = box.querySelector('button');
    const list = box.querySelector('[role="listbox"]');
    const listId = controlId(form, `${control.name}-list`);
    list.id = listId;
    field.setAttribute('aria-controls', listId);
    field.value = control.text || '';
    if (control.background) {
      box.style.background = control.background;
      list.style.background = control.background;
    }
    const items = (control.list || []).map((text, i) => {
      const item = document.createElement('li');
      item.setAttribute('role', 'option');
      item.id = `${listId}-${i}`;
      item.textContent = text;
      item.addEventListener('pointerdown', (e) => e.preventDefault());
      item.addEventListener('click', () => {
        pick(i);
        close();
      });
      list.append(item);
      return item;
    });
    let active = -1;
    const isOpen = () => !list.hidden;
    function highlight(i) {
      active = i;
      items.forEach((item, j) => item.setAttribute('aria-selected', String(j === i)));
      if (i >= 0) field.setAttribute('aria-activedescendant', items[i].id);
      else field.removeAttribute('aria-activedescendant');
    }
    function pick(i) {
      field.value = items[i].textContent;
      field.dispatchEvent(new Event('input', { bubbles: true }));
    }
    function open() {
      list.hidden = false;
      field.setAttribute('aria-expanded', 'true');
      highlight(items.findIndex((item) => item.textContent === field.value));
    }
    function close() {
      list.hidden = true;
      field.setAttribute('aria-expanded', 'false');
      highlight(-1);
    }
    button.addEventListener('pointerdown', (e) => e.preventDefault());
    button.addEventListener('click', () => {
      if (isOpen()) close();
      else open();
      field.focus();
    });
    field.addEventListener('blur', close);
    field.addEventListener('input', () => {
      if (isOpen()) highlight(items.findIndex((item) => item.textContent === field.value));
    });
    field.addEventListener('keydown', (e) => {
      if (e.key === 'ArrowDown' || e.key === 'ArrowUp') {
        e.preventDefault();
        if (!isOpen()) {
          open();
          if (e.altKey) return;
        }
        if (e.altKey && e.key === 'ArrowUp') {
          if (active >= 0) pick(active);
          close();
          return;
        }
        const step = e.key === 'ArrowDown' ? 1 : -1;
        const next = active < 0 ? (step > 0 ? 0 : items.length - 1) : Math.min(items.length - 1, Math.max(0, active + step));
        highlight(next);
      } else if (e.key === 'Enter' && isOpen()) {
        e.preventDefault();
        if (active >= 0) pick(active);
        close();
      } else if (e.key === 'Escape' && isOpen()) {
        e.preventDefault();
        close();
      }
    });
    textBoxes.push([control.name, field]);
    return [box, field];
  }

  function makePlot(form, control) {
    const canvas = document.createElement('canvas');
    canvas.className = 'plot';
    canvas.setAttribute('role', 'img');
    const tooltip = document.createElement('div');
    tooltip.className = 'readout';
    tooltip.setAttribute('role', 'tooltip');
    tooltip.id = controlId(form, `${control.name}-readout`);
    tooltip.hidden = true;
    document.body.append(tooltip);
    canvas.setAttribute('aria-describedby', tooltip.id);
    const plot = {
      form: form.name,
      canvas,
      tooltip,
      background: control.background || '#000000',
      width: control.width,
      height: control.height,
      over: false,
      clientX: 0,
      clientY: 0,
    };
    plots.set(form.name, plot);
    blank(plot);
    const track = (e) => {
      const box = canvas.getBoundingClientRect();
      if (box.width === 0 || box.height === 0) return;
      const x = ((e.clientX - box.left) * plot.width) / box.width;
      const y = ((e.clientY - box.top) * plot.height) / box.height;
      if (x < 0 || y < 0 || x > plot.width || y > plot.height) return;
      plot.over = true;
      plot.touch = e.pointerType === 'touch';
      plot.clientX = e.clientX;
      plot.clientY = e.clientY;
      askReadout(plot, x, y);
    };
    canvas.addEventListener('pointermove', track);
    canvas.addEventListener('pointerdown', (e) => {
      if (e.pointerType !== 'mouse') {
        // A finger dragging over the plot keeps its readout coming, as the mouse does.
        canvas.setPointerCapture(e.pointerId);
        track(e);
      }
    });
    canvas.addEventListener('pointerleave', (e) => {
      // A finger's readout stays up after it lifts, for it to be read.
      if (e.pointerType === 'mouse' || e.pointerType === 'pen') {
        plot.over = false;
        tooltip.hidden = true;
      }
    });
    return canvas;
  }

  function buildWindow(form) {
    const section = windowTemplate.content.firstElementChild.cloneNode(true);
    section.id = form.name;
    section.dataset.form = form.name;
    const caption = section.querySelector('.caption');
    caption.id = controlId(form, 'caption');
    caption.textContent = form.caption;
    section.setAttribute('aria-labelledby', caption.id);
    section.querySelector('.icon').classList.add(form.icon);
    const close = section.querySelector('.close');
    if (form.closable) close.addEventListener('click', () => act('close', { form: form.name }));
    else close.remove();
    const client = section.querySelector('.client');
    client.style.width = `${form.width}px`;
    client.style.height = `${form.height}px`;
    client.style.font = fontOf(form.font);

    const focusable = new Map();
    const elements = [];
    for (const control of form.controls) {
      let element = null;
      let focus = null;
      switch (control.kind) {
        case 'label':
          element = makeLabel(form, control);
          break;
        case 'entry':
          element = focus = makeEntry(form, control);
          break;
        case 'typebox':
          [element, focus] = makeTypeBox(form, control);
          break;
        case 'button':
          element = focus = makeButton(form, control, () => buttonAction(form, control));
          if (form.name === 'Form1') pressButton = element;
          break;
        case 'option':
          [element, focus] = makeOption(form, control);
          break;
        case 'plot':
          element = makePlot(form, control);
          break;
        default:
          // A hidden picture is never seen on the desktop either.
          continue;
      }
      element.id = element.id || controlId(form, control.name);
      element.dataset.control = control.name;
      place(element, control);
      if (control.font) element.style.font = fontOf(control.font);
      if (control.background && control.kind !== 'plot' && control.kind !== 'typebox') {
        element.style.background = control.background;
      }
      if (focus) focusable.set(control.name, focus);
      elements.push([control, element, focus]);
    }
    // Names refer to one another only once all exist.
    const idOf = (name) => controlId(form, name);
    for (const [control, element, focus] of elements) {
      const target = focus || element;
      if (control.labelledBy) target.setAttribute('aria-labelledby', idOf(control.labelledBy));
      if (control.kind === 'typebox' && control.labelledBy) {
        element.querySelector('[role="listbox"]').setAttribute('aria-labelledby', idOf(control.labelledBy));
      }
      const described = (control.describedBy || []).filter((name) => name !== control.labelledBy);
      if (described.length) target.setAttribute('aria-describedby', described.map(idOf).join(' '));
      if (control.kind === 'plot') {
        target.setAttribute('aria-labelledby', control.labelledBy ? idOf(control.labelledBy) : caption.id);
        const extra = described.map(idOf);
        target.setAttribute('aria-describedby', [plots.get(form.name).tooltip.id, ...extra].join(' '));
      }
    }
    // The desktop's tab order is the document's order; the places are absolute.
    const order = form.tabOrder || [];
    const rank = (control) => {
      const at = order.indexOf(control.name);
      return at < 0 ? order.length : at;
    };
    elements.sort((a, b) => rank(a[0]) - rank(b[0]));
    for (const [, element] of elements) client.append(element);

    const first = order.map((name) => focusable.get(name)).find(Boolean);
    windows.set(form.name, {
      section,
      client,
      viewport: section.querySelector('.viewport'),
      width: form.width,
      height: form.height,
      focusFirst: () => (first || section).focus({ preventScroll: true }),
    });
    section.hidden = form.name !== 'Form1';
    desktop.append(section);
  }

  function buttonAction(form, control) {
    if (form.name === 'Form1') act('press', { texts: Object.fromEntries(textBoxes.map(([n, e]) => [n, e.value])) });
    else act('spectrum');
  }

  // ---- What the module's events do --------------------------------------

  function blank(plot) {
    const { canvas } = plot;
    canvas.width = Math.round(plot.width * ratio);
    canvas.height = Math.round(plot.height * ratio);
    const context = canvas.getContext('2d');
    context.fillStyle = plot.background;
    context.fillRect(0, 0, canvas.width, canvas.height);
  }

  function draw(formName, image) {
    const plot = plots.get(formName);
    if (!plot || !image) return;
    if (image.width === 0 || image.height === 0) {
      blank(plot);
      return;
    }
    plot.canvas.width = image.width;
    plot.canvas.height = image.height;
    const pixels = new ImageData(new Uint8ClampedArray(image.buffer), image.width, image.height);
    plot.canvas.getContext('2d').putImageData(pixels, 0, 0);
  }

  function showWindow(name) {
    const win = windows.get(name);
    if (!win) return;
    win.section.hidden = false;
    // Brought to the front: the last shown window is the one in view.
    for (const other of windows.values()) other.section.classList.toggle('front', other === win);
    win.section.scrollIntoView({ block: 'nearest', inline: 'nearest' });
    win.focusFirst();
  }

  function hideWindow(name) {
    const win = windows.get(name);
    if (!win) return;
    win.section.hidden = true;
    const plot = plots.get(name);
    if (plot) {
      plot.tooltip.hidden = true;
      blank(plot);
    }
  }

  function showReadout(name, text) {
    const plot = plots.get(name);
    if (!plot) return;
    const { tooltip } = plot;
    tooltip.textContent = text;
    if (!text || !plot.over || windows.get(name).section.hidden) {
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
  function showMessage(text) {
    const shown = messages.then(
      () =>
        new Promise((resolve) => {
          const back = document.activeElement;
          dialogTitle.textContent = title;
          dialogText.textContent = text;
          dialog.addEventListener(
            'close',
            () => {
              const target = back && back.isConnected && !back.closest('[hidden]') ? back : pressButton;
              if (target) target.focus({ preventScroll: true });
              // Two messages in a row are two boxes, the second opening a
              // moment after the first closed, as on the desktop: a screen
              // reader announces each, and a script sees each one close.
              setTimeout(resolve, 100);
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

  const isBusy = () => busy || restarting;
  let lastPressSeconds = null;

  async function act(op, args) {
    if (isBusy() || dialog.open) return;
    setBusy(true);
    let result;
    try {
      result = await call(op, args);
    } finally {
      setBusy(false);
    }
    if (result && typeof result.seconds === 'number') lastPressSeconds = result.seconds;
    // Until the events are played, with their messages, the panel stays as busy.
    busy = true;
    try {
      await play(result);
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
    const result = await call('readout', { form, x, y });
    readoutInFlight = false;
    await play(result);
    pumpReadouts();
  }

  // ---- Narrow screens ----------------------------------------------------

  // A window wider than the viewport scales its client area down whole, with
  // its fixed layout; the title bar and its close box keep their size.
  function fit() {
    const style = getComputedStyle(desktop);
    const room = desktop.clientWidth - parseFloat(style.paddingLeft) - parseFloat(style.paddingRight) - 2;
    for (const win of windows.values()) {
      const scale = win.width > room && room > 0 ? room / win.width : 1;
      win.client.style.transform = scale < 1 ? `scale(${scale})` : '';
      win.section.classList.toggle('scaled', scale < 1);
      win.viewport.style.width = `${win.width * scale}px`;
      win.viewport.style.height = `${win.height * scale}px`;
    }
  }
  window.addEventListener('resize', fit);

  // A word a hair wider than its box in this face is drawn a little tighter,
  // rather than past the box's edge, as no wrap can help it.
  function fitCaptions() {
    for (const element of desktop.querySelectorAll('.label, .button > span, .option > span')) {
      const box = element.closest('[data-control]');
      let spacing = 0;
      while (box.scrollWidth > box.clientWidth && spacing > -1) {
        spacing -= 0.25;
        element.style.letterSpacing = `${spacing}px`;
      }
    }
  }

  // ---- Start -------------------------------------------------------------

  const ready = startWorker().then(async (answer) => {
    const forms = answer.forms;
    outOfMemoryText = answer.outOfMemory;
    title = forms.title;
    for (const form of forms.forms) buildWindow(form);
    fit();
    await Promise.all(['bold 11px', '11px'].map((font) => document.fonts.load(`${font} "Trelvano Sans"`)));
    await document.fonts.ready;
    // Hidden windows have no layout to measure: each is shown for a moment.
    const hidden = [...windows.values()].filter((win) => win.section.hidden);
    for (const win of hidden) win.section.hidden = false;
    fitCaptions();
    for (const win of hidden) win.section.hidden = true;
    // The busy bar is named by the button whose press it waits for.
    if (pressButton) busyBox.querySelector('progress').setAttribute('aria-labelledby', pressButton.id);
    // As on the desktop, the panel starts with the focus on its first tab stop.
    windows.get(forms.forms[0].name).focusFirst();
    document.body.dataset.ready = 'true';
  });

  // For tests and scripts: what the last completed press found, and whether
  // the page is still working on, or showing, what an action caused. For the
  // benchmark: the seconds the last press took in the worker, and the plain
  // three-cosine loop over n samples timed in the same worker.
  window.trelvano = {
    ready,
    figures: () => ready.then(() => call('figures')),
    cosineLoopSeconds: (n) => ready.then(() => call('cosineLoop', { n })),
    get lastPressSeconds() {
      return lastPressSeconds;
    },
    get busy() {
      return isBusy();
    },
  };

  if ('serviceWorker' in navigator && /^https?:$/.test(location.protocol) && !inlineSource) {
    navigator.serviceWorker.register('sw.js').catch(() => {});
  }
})();
