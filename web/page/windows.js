// The three windows built from the module's forms: a frame with its title bar
// and close box, and each control at its place in layout pixels, named for
// scripts (data-control) and labelled for screen readers as the forms say.
// Nothing here knows a window or a control by name.

import { renderPlot } from './plot-image.js';
import { makeTypeBox } from './type-box.js';

const windowTemplate = document.getElementById('window-template');
const comboTemplate = document.getElementById('combo-template');
const pointsToPx = (points) => (points * 96) / 72;

// actions: press(), spectrum(), close(form), readout(plot, x, y) with x, y
// in layout pixels of the plot.
export function buildWindows(forms, desktop, ratio, actions) {
  const windows = new Map(); // form name -> {name, section, client, viewport, width, height, focusFirst}
  const plots = new Map(); // form name -> {form, canvas, tooltip, background, place and size, pixels, scale, pointer}
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
      pixels: null,
      scale: 1,
      left: control.left,
      top: control.top,
      width: control.width,
      height: control.height,
      over: false,
      clientX: 0,
      clientY: 0,
    };
    plots.set(form.name, plot);
    renderPlot(plot, ratio);
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
      actions.readout(plot, x, y);
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

  // The first form is the input panel, shown from the start, whose button
  // presses; the result windows come hidden, their button shows the spectrum.
  function buildWindow(form, isPanel) {
    const section = windowTemplate.content.firstElementChild.cloneNode(true);
    section.id = form.name;
    section.dataset.form = form.name;
    const caption = section.querySelector('.caption');
    caption.id = controlId(form, 'caption');
    caption.textContent = form.caption;
    section.setAttribute('aria-labelledby', caption.id);
    section.querySelector('.icon').classList.add(form.icon);
    const close = section.querySelector('.close');
    if (form.closable) {
      close.setAttribute('aria-label', forms.close);
      close.title = forms.close;
      close.addEventListener('click', () => actions.close(form.name));
    }
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
          [element, focus] = makeTypeBox(comboTemplate, controlId(form, `${control.name}-list`), control);
          textBoxes.push([control.name, focus]);
          break;
        case 'button':
          element = focus = makeButton(form, control, isPanel ? actions.press : actions.spectrum);
          if (isPanel) pressButton = element;
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
    // A plot lies over the client area rather than in it, so that a scaled
    // window can give it a box on whole device pixels (fit, below).
    const viewport = section.querySelector('.viewport');
    for (const [control, element] of elements) (control.kind === 'plot' ? viewport : client).append(element);

    const first = order.map((name) => focusable.get(name)).find(Boolean);
    windows.set(form.name, {
      name: form.name,
      section,
      client,
      viewport,
      width: form.width,
      height: form.height,
      focusFirst: () => (first || section).focus({ preventScroll: true }),
    });
    section.hidden = !isPanel;
    desktop.append(section);
  }

  // A window wider than the viewport scales its client area down whole, with
  // its fixed layout; the title bar and its close box keep their size. Boxes
  // are rounded to whole device pixels, and a plot is drawn at exactly the
  // pixels of its box: no filter of the browser's then blurs a line away.
  function fit() {
    const style = getComputedStyle(desktop);
    const room = desktop.clientWidth - parseFloat(style.paddingLeft) - parseFloat(style.paddingRight) - 2;
    const device = (px) => Math.round(px * ratio) / ratio;
    for (const win of windows.values()) {
      const scale = win.width > room && room > 0 ? room / win.width : 1;
      win.client.style.transform = scale < 1 ? `scale(${scale})` : '';
      win.section.classList.toggle('scaled', scale < 1);
      win.viewport.style.width = `${device(win.width * scale)}px`;
      win.viewport.style.height = `${device(win.height * scale)}px`;
      const plot = plots.get(win.name);
      if (!plot) continue;
      const { style: box } = plot.canvas;
      box.left = `${device(plot.left * scale)}px`;
      box.top = `${device(plot.top * scale)}px`;
      box.width = `${scale < 1 ? device(plot.width * scale) : plot.width}px`;
      box.height = `${scale < 1 ? device(plot.height * scale) : plot.height}px`;
      if (plot.scale !== scale) {
        plot.scale = scale;
        renderPlot(plot, ratio);
      }
    }
  }

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

  forms.forms.forEach((form, i) => buildWindow(form, i === 0));
  return { windows, plots, textBoxes, pressButton, fit, fitCaptions };
}
