// A result window's plot: the module's image on a canvas, one image pixel to
// one device pixel, at the size the plot has on screen (the module draws it
// at that size; nothing here scales it). It takes the focus, and its keys
// move the module's cursor, whose place a mark over the plot shows.

const keys = { ArrowLeft: 'previous', ArrowRight: 'next', Home: 'first', End: 'last' };
const shiftKeys = { ArrowLeft: 'left', ArrowRight: 'right', ArrowUp: 'up', ArrowDown: 'down' };

// actions: readout(plot, x, y) for the pointer, key(plot, key) for the
// keyboard's cursor; x, y in CSS pixels from the plot's top-left corner.
export function makePlot(form, control, idOf, actions) {
  const canvas = document.createElement('canvas');
  canvas.className = 'plot';
  canvas.tabIndex = 0;
  canvas.setAttribute('role', 'img');
  const tooltip = document.createElement('div');
  tooltip.className = 'readout';
  tooltip.setAttribute('role', 'tooltip');
  tooltip.id = idOf(`${control.name}-readout`);
  tooltip.hidden = true;
  // What the plot shows, in the module's words, for those who cannot see it.
  const description = document.createElement('p');
  description.className = 'visually-hidden';
  description.id = idOf(`${control.name}-description`);
  document.body.append(tooltip, description);
  const mark = document.createElement('div');
  mark.className = 'cursor-mark';
  mark.setAttribute('aria-hidden', 'true');
  mark.hidden = true;

  const plot = {
    form: form.name,
    canvas,
    tooltip,
    description,
    mark,
    background: control.background || '#000000',
    table: { width: control.width, height: control.height },
    // The box on screen in CSS pixels, and the device pixels to one of them.
    width: control.width,
    height: control.height,
    ratio: 1,
    sent: null, // the size the module was last told
    over: false, // the readout follows the pointer or a finger
    keyboard: false, // the readout follows the keyboard's cursor
    touch: false,
    clientX: 0,
    clientY: 0,

    setBox(width, height, ratio) {
      canvas.style.width = `${width}px`;
      canvas.style.height = `${height}px`;
      const resized = width !== plot.width || height !== plot.height || ratio !== plot.ratio;
      Object.assign(plot, { width, height, ratio });
      if (resized && !plot.drawn) plot.blank();
    },
    draw(image) {
      if (!image || image.width === 0 || image.height === 0) {
        plot.blank();
        return;
      }
      // The image covers the canvas: a canvas of its size is not cleared first.
      if (canvas.width !== image.width) canvas.width = image.width;
      if (canvas.height !== image.height) canvas.height = image.height;
      canvas.getContext('2d').putImageData(new ImageData(new Uint8ClampedArray(image.buffer), image.width, image.height), 0, 0);
      plot.drawn = true;
    },
    blank() {
      plot.drawn = false;
      canvas.width = Math.max(1, Math.round(plot.width * plot.ratio));
      canvas.height = Math.max(1, Math.round(plot.height * plot.ratio));
      const context = canvas.getContext('2d');
      context.fillStyle = plot.background;
      context.fillRect(0, 0, canvas.width, canvas.height);
      plot.describe('');
      plot.hideReadout();
    },
    describe(text) {
      description.textContent = text;
    },
    hideReadout() {
      plot.over = plot.keyboard = false;
      tooltip.hidden = true;
      mark.hidden = true;
    },
    // The keyboard's cursor at (x, y): the mark goes there, over the image.
    placeMark(x, y) {
      mark.style.left = `${canvas.offsetLeft + x}px`;
      mark.style.top = `${canvas.offsetTop + y}px`;
      mark.hidden = false;
      const box = canvas.getBoundingClientRect();
      plot.clientX = box.left + x;
      plot.clientY = box.top + y;
    },
  };
  plot.blank();

  const track = (e) => {
    const box = canvas.getBoundingClientRect();
    const x = e.clientX - box.left;
    const y = e.clientY - box.top;
    if (x < 0 || y < 0 || x > box.width || y > box.height) return;
    plot.over = true;
    plot.keyboard = false;
    mark.hidden = true;
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
    if ((e.pointerType === 'mouse' || e.pointerType === 'pen') && !plot.keyboard) plot.hideReadout();
  });
  canvas.addEventListener('keydown', (e) => {
    if (e.altKey || e.ctrlKey || e.metaKey) return;
    const key = (e.shiftKey ? shiftKeys : keys)[e.key];
    if (!key) return;
    // The keys move the cursor, never the page.
    e.preventDefault();
    plot.keyboard = true;
    plot.over = false;
    plot.touch = false;
    actions.key(plot, key);
  });
  canvas.addEventListener('blur', () => {
    if (plot.keyboard) plot.hideReadout();
  });
  return plot;
}
