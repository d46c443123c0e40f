// A plot's image on its canvas: pixel for pixel as the module drew it, or,
// in a window scaled down for a narrow screen, shrunk to the device pixels
// its box covers there.

// plot: {canvas, pixels (ImageData or null for a blank plot), scale,
// width, height (layout pixels), background ("#rrggbb")}.
export function renderPlot(plot, ratio) {
  const { canvas, pixels, scale } = plot;
  const context = canvas.getContext('2d');
  if (pixels && scale === 1) {
    canvas.width = pixels.width;
    canvas.height = pixels.height;
    context.putImageData(pixels, 0, 0);
    return;
  }
  canvas.width = Math.max(1, Math.round(plot.width * scale * ratio));
  canvas.height = Math.max(1, Math.round(plot.height * scale * ratio));
  if (!pixels) {
    context.fillStyle = plot.background;
    context.fillRect(0, 0, canvas.width, canvas.height);
    return;
  }
  const shrunk = context.createImageData(canvas.width, canvas.height);
  shrink(pixels, shrunk.data, canvas.width, canvas.height, plot.background);
  context.putImageData(shrunk, 0, 0);
}

// Each pixel of the smaller image stands for a block of the plot's and
// takes the mean colour of the block's drawn pixels, the background only
// where nothing is drawn: every line and every peak stays there, at full
// colour, where the browser's own filter would fade a thin line to nothing
// or drop it between two samples.
function shrink(pixels, out, width, height, background) {
  const bg = [1, 3, 5].map((i) => parseInt(background.slice(i, i + 2), 16));
  const source = pixels.data;
  const fx = pixels.width / width;
  const fy = pixels.height / height;
  const columnOf = new Int32Array(pixels.width);
  for (let x = 0; x < pixels.width; x++) columnOf[x] = Math.min(width - 1, Math.floor(x / fx));
  const sums = new Float64Array(width * 4); // drawn count, red, green, blue
  let row = 0;
  for (let oy = 0; oy < height; oy++) {
    sums.fill(0);
    const rowEnd = oy === height - 1 ? pixels.height : Math.floor((oy + 1) * fy);
    for (; row < rowEnd; row++) {
      for (let x = 0, i = row * pixels.width * 4; x < pixels.width; x++, i += 4) {
        const r = source[i];
        const g = source[i + 1];
        const b = source[i + 2];
        if (r === bg[0] && g === bg[1] && b === bg[2]) continue;
        const k = columnOf[x] * 4;
        sums[k] += 1;
        sums[k + 1] += r;
        sums[k + 2] += g;
        sums[k + 3] += b;
      }
    }
    for (let ox = 0; ox < width; ox++) {
      const k = ox * 4;
      const o = (oy * width + ox) * 4;
      const drawn = sums[k];
      for (let c = 0; c < 3; c++) out[o + c] = drawn === 0 ? bg[c] : Math.round(sums[k + 1 + c] / drawn);
      out[o + 3] = 255;
    }
  }
}
