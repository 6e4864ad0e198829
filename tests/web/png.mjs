// Reads the 8-bit, non-interlaced PNG files the capture tools write into
// red-green-blue-alpha pixels, so frames can be compared with a canvas.
import { readFileSync } from 'node:fs';
import { inflateSync } from 'node:zlib';

export function readPng(path) {
  const file = readFileSync(path);
  let at = 8;
  let width = 0, height = 0, type = 0, depth = 0, interlace = 0;
  const data = [];
  while (at < file.length) {
    const length = file.readUInt32BE(at);
    const name = file.toString('latin1', at + 4, at + 8);
    const body = file.subarray(at + 8, at + 8 + length);
    if (name === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      depth = body[8];
      type = body[9];
      interlace = body[12];
    } else if (name === 'IDAT') {
      data.push(body);
    }
    at += 12 + length;
  }
  const channels = { 0: 1, 2: 3, 4: 2, 6: 4 }[type];
  if (depth !== 8 || !channels || interlace !== 0) {
    throw new Error(`${path}: only 8-bit non-interlaced grey or RGB(A) is read here`);
  }
  const raw = inflateSync(Buffer.concat(data));
  const stride = width * channels;
  const rows = Buffer.alloc(stride * height);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    for (let x = 0; x < stride; ++x) {
      const a = x >= channels ? rows[y * stride + x - channels] : 0;
      const b = y > 0 ? rows[(y - 1) * stride + x] : 0;
      const c = x >= channels && y > 0 ? rows[(y - 1) * stride + x - channels] : 0;
      let value = line[x];
      if (filter === 1) value += a;
      else if (filter === 2) value += b;
      else if (filter === 3) value += (a + b) >> 1;
      else if (filter === 4) {
        const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
        value += pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      }
      rows[y * stride + x] = value & 255;
    }
  }
  const rgba = new Uint8Array(width * height * 4);
  for (let i = 0; i < width * height; ++i) {
    const s = rows.subarray(i * channels, (i + 1) * channels);
    const grey = channels <= 2;
    rgba[4 * i] = s[0];
    rgba[4 * i + 1] = grey ? s[0] : s[1];
    rgba[4 * i + 2] = grey ? s[0] : s[2];
    rgba[4 * i + 3] = channels === 4 ? s[3] : channels === 2 ? s[1] : 255;
  }
  return { width, height, rgba };
}
