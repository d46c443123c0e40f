// The three windows built from the module's forms: a frame with its title bar
// and close box, and each control at its place in layout pixels, named for
// scripts (data-control) and labelled for screen readers as the forms say.
// A window wider than the page's room flows instead into one column (flow
// order, below), its text no smaller than a phone needs. Nothing here knows a
// window or a control by name.

import { makePlot } from './plot.js';
import { makeTypeBox } from './type-box.js';

const windowTemplate = document.getElementById('window-template');
const comboTemplate = document.getElementById('combo-template');
const pointsToPx = (points) => (points * 96) / 72;

// actions: press(), spectrum(), close(form), readout(plot, x, y), key(plot, key)
// (plot.js).
export function buildWindows(forms, desktop, actions) {
  const windows = new Map(); // form name -> {name, section, client, width, height, flow, focusFirst}
  const plots = new Map(); // form name -> plot (plot.js)
  let pressButton = null;
  const textBoxes = []; // [name, element] whose text a press reads
  const links = []; // [name in a link, element, initial text]

  // The table's fonts and places hold only where the window keeps its
  // layout: as properties the style sheet applies there and nowhere else.
  function setFont(element, font) {
    element.style.setProperty('--size', `${pointsToPx(font.points)}px`);
    element.style.setProperty('--weight', font.bold ? 'bold' : 'normal');
  }

  function place(element, control) {
    for (const side of ['left', 'top', 'width', 'height']) element.style.setProperty(`--${side}`, `${control[side]}px`);
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
    if (control.link) links.push([control.link, box, box.value]);
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
    place(client, form);
    setFont(client, form.font);
    const idOf = (name) => controlId(form, name);

    const focusable = new Map();
    const elements = [];
    let plot = null;
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
          [element, focus] = makeTypeBox(comboTemplate, idOf(`${control.name}-list`), control);
          textBoxes.push([control.name, focus]);
          if (control.link) links.push([control.link, focus, focus.value]);
          break;
        case 'button':
          element = focus = makeButton(form, control, isPanel ? actions.press : actions.spectrum);
          if (isPanel) pressButton = element;
          break;
        case 'option':
          [element, focus] = makeOption(form, control);
          break;
        case 'plot':
          plot = makePlot(form, control, idOf, actions);
          plots.set(form.name, plot);
          element = focus = plot.canvas;
          break;
        default:
          // A hidden picture is never seen on the desktop either.
          continue;
      }
      element.id = element.id || idOf(control.name);
      element.dataset.control = control.name;
      place(element, control);
      if (control.font) setFont(element, control.font);
      if (control.background && control.kind !== 'plot' && control.kind !== 'typebox') {
        element.style.background = control.background;
      }
      if (focus) focusable.set(control.name, focus);
      elements.push([control, element, focus]);
    }
    // Names refer to one another only once all exist.
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
        target.setAttribute('aria-describedby', [plot.description.id, plot.tooltip.id, ...described.map(idOf)].join(' '));
      }
    }
    // The plot is the window's first stop, the table's tab order after it.
    const order = [...form.controls.filter((c) => c.kind === 'plot').map((c) => c.name), ...(form.tabOrder || [])];
    const orders = { desktop: desktopOrder(elements, order), flow: flowOrder(elements, order) };
    client.append(...orders.desktop);
    if (plot) client.append(plot.mark);

    const win = {
      name: form.name,
      section,
      client,
      width: form.width,
      height: form.height,
      flow: false,
      orders,
      focusFirst: () => {
        const first = [...client.querySelectorAll('[data-control]')]
          .map((element) => focusable.get(element.dataset.control))
          .find(Boolean);
        (first || section).focus({ preventScroll: true });
      },
    };
    windows.set(form.name, win);
    section.hidden = !isPanel;
    desktop.append(section);
  }

  // The desktop's tab order is the document's order; the places are absolute.
  function desktopOrder(elements, order) {
    const rank = (control) => {
      const at = order.indexOf(control.name);
      return at < 0 ? order.length : at;
    };
    return [...elements].sort((a, b) => rank(a[0]) - rank(b[0])).map(([, element]) => element);
  }

  // One column, in reading order: the plot; each entry box in the tab order,
  // after its caption, with the labels the table describes it by on its left
  // and right as they stand on the desktop; then the type box, the options
  // and the buttons, each after its caption; then the labels that name nothing.
  function flowOrder(elements, order) {
    const byName = new Map(elements.map(([control, element]) => [control.name, [control, element]]));
    const placed = new Set();
    const flow = [];
    const put = (name, role) => {
      if (!byName.has(name) || placed.has(name)) return;
      placed.add(name);
      const [, element] = byName.get(name);
      element.dataset.flow = role;
      flow.push(element);
    };
    const rank = ['plot', 'entry', 'typebox', 'option', 'button'];
    const tabbed = order
      .map((name) => byName.get(name))
      .filter(Boolean)
      .sort(([a], [b]) => rank.indexOf(a.kind) - rank.indexOf(b.kind));
    for (const [control] of tabbed) {
      put(control.labelledBy, 'caption');
      const side = (name) => (byName.get(name)[0].left < control.left ? 'symbol' : 'unit');
      const described = (control.describedBy || []).filter((name) => name !== control.labelledBy && byName.has(name));
      for (const name of described.filter((n) => side(n) === 'symbol')) put(name, 'symbol');
      put(control.name, control.kind === 'entry' ? 'box' : 'whole');
      for (const name of described.filter((n) => side(n) === 'unit')) put(name, 'unit');
    }
    for (const [control] of elements) put(control.name, 'whole');
    return flow;
  }

  // Each window keeps the table's layout while it fits the page's width, and
  // flows into one column when it does not; widths are CSS pixels, so a
  // zoomed page flows as a narrower one does. A plot in a flowing window
  // takes the column's width, at the table's aspect.
  // Returns whether the panel flows.
  function layout(ratio) {
    const style = getComputedStyle(desktop);
    const room = desktop.clientWidth - parseFloat(style.paddingLeft) - parseFloat(style.paddingRight);
    const active = document.activeElement;
    for (const win of windows.values()) {
      const flow = room > 0 && win.width + frameWidth(win) > room;
      if (flow === win.flow) continue;
      win.flow = flow;
      win.section.classList.toggle('flow', flow);
      // Moving an element takes its focus away: given back.
      win.client.prepend(...(flow ? win.orders.flow : win.orders.desktop));
      if (active && win.client.contains(active)) active.focus({ preventScroll: true });
    }
    for (const plot of plots.values()) {
      const win = windows.get(plot.form);
      if (!win.flow) {
        plot.setBox(plot.table.width, plot.table.height, ratio);
        continue;
      }
      // Whole CSS pixels, as the module takes a plot's size.
      const width = Math.max(1, Math.floor(room - frameWidth(win) - padding(win.client)));
      const height = Math.max(1, Math.round((width * plot.table.height) / plot.table.width));
      plot.setBox(width, height, ratio);
    }
    return windows.values().next().value.flow;
  }

  // Read from the style sheet, which holds them for a hidden window too.
  const frameWidth = (win) => {
    const frame = getComputedStyle(win.section.querySelector('.frame'));
    return parseFloat(frame.borderLeftWidth) + parseFloat(frame.borderRightWidth);
  };
  const padding = (element) => {
    const style = getComputedStyle(element);
    return parseFloat(style.paddingLeft) + parseFloat(style.paddingRight);
  };

  // A caption a hair wider than its box in this face is drawn a little
  // tighter rather than past the box's edge or onto a line of its own. Measured in the
  // table's layout, which a flowing window takes for the moment; the style
  // sheet applies the spacing only there.
  function fitCaptions() {
    const flowing = [...windows.values()].filter((win) => win.flow);
    for (const win of flowing) win.section.classList.remove('flow');
    for (const element of desktop.querySelectorAll('.label, .button > span, .option > span')) {
      const box = element.closest('[data-control]');
      let spacing = 0;
      // A word past the box's edge, or a caption one line tall wrapped onto a
      // second by a wider face (WebKit's), is drawn tighter until it fits.
      while ((box.scrollWidth > box.clientWidth || box.scrollHeight > box.clientHeight + 2) && spacing > -1) {
        spacing -= 0.25;
        element.style.setProperty('--tight', `${spacing}px`);
      }
      // Lines a hair taller than a wrapped caption's box (Firefox rounds each
      // line's height up) are set a hair closer, rather than overflow it.
      const over = box.scrollHeight - box.clientHeight;
      if (over > 0 && over <= 2) {
        const range = document.createRange();
        range.selectNodeContents(element);
        const lines = new Set([...range.getClientRects()].map((r) => Math.round(r.top))).size;
        if (lines > 0) element.style.setProperty('--leading', `${Math.floor((box.clientHeight * 100) / lines) / 100}px`);
      }
    }
    for (const win of flowing) win.section.classList.add('flow');
  }

  forms.forms.forEach((form, i) => buildWindow(form, i === 0));
  return { windows, plots, textBoxes, links, pressButton, layout, fitCaptions };
}
