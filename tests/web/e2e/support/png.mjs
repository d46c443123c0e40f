// Just enough PNG reading for chromium's screenshots: 8-bit RGB or RGBA, not
// interlaced. Returns RGBA.
import zlib from 'node:zlib';

function paeth(a, b, c) {
  const p = a + b - c;
  const pa = Math.abs(p - a);
  const pb = Math.abs(p - b);
  const pc = Math.abs(p - c);
  return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

export const PNG = {
  read(buffer) {
    let offset = 8;
    let width = 0;
    let height = 0;
    let channels = 0;
    const data = [];
    while (offset < buffer.length) {
      const length = buffer.readUInt32BE(offset);
      const type = buffer.toString('latin1', offset + 4, offset + 8);
      const body = buffer.subarray(offset + 8, offset + 8 + length);
      if (type === 'IHDR') {
        width = body.readUInt32BE(0);
        height = body.readUInt32BE(4);
        const [depth, colour, , , interlace] = body.subarray(8, 13);
        if (depth !== 8 || interlace !== 0 || (colour !== 2 && colour !== 6)) throw new Error('an unexpected PNG');
        channels = colour === 6 ? 4 : 3;
      } else if (type === 'IDAT') {
        data.push(body);
      }
      offset += 12 + length;
    }
    const raw = zlib.inflateSync(Buffer.concat(data));
    const stride = width * channels;
    const rows = Buffer.alloc(stride * height);
    for (let y = 0; y < height; y++) {
      const filter = raw[y * (stride + 1)];
      const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
      for (let x = 0; x < stride; x++) {
        const a = x >= channels ? rows[y * stride + x - channels] : 0;
        const b = y > 0 ? rows[(y - 1) * stride + x] : 0;
        const c = x >= channels && y > 0 ? rows[(y - 1) * stride + x - channels] : 0;
        const predictor = [0, a, b, (a + b) >> 1, paeth(a, b, c)][filter];
        rows[y * stride + x] = (line[x] + predictor) & 0xff;
      }
    }
    const rgba = Buffer.alloc(width * height * 4, 0xff);
    for (let i = 0; i < width * height; i++) rows.copy(rgba, i * 4, i * channels, i * channels + 3);
    return { width, height, rgba };
  },
};
