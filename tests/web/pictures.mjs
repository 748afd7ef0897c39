// Pictures for the browser test: a PNG reader (8-bit RGB and RGBA, not interlaced, which is
// what the game's references and Chromium's screenshots are) and comparisons of regions.
import { inflateSync } from 'node:zlib';
import { readFileSync } from 'node:fs';

export function readPng(bytes) {
  const signature = '89504e470d0a1a0a';
  if (bytes.subarray(0, 8).toString('hex') !== signature)
    throw new Error('not a PNG');
  let at = 8;
  let width = 0, height = 0, channels = 0;
  const data = [];
  while (at < bytes.length) {
    const length = bytes.readUInt32BE(at);
    const type = bytes.toString('latin1', at + 4, at + 8);
    const body = bytes.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      const [depth, colour, , , interlace] = body.subarray(8, 13);
      channels = { 2: 3, 6: 4 }[colour];
      if (depth !== 8 || !channels || interlace !== 0)
        throw new Error(`unsupported PNG (depth ${depth}, colour ${colour}, interlace ${interlace})`);
    } else if (type === 'IDAT') {
      data.push(body);
    }
    at += 12 + length;
  }
  const raw = inflateSync(Buffer.concat(data));
  const stride = width * channels;
  const pixels = Buffer.alloc(width * height * 4);
  let previous = Buffer.alloc(stride);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const line = Buffer.from(raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1)));
    for (let i = 0; i < stride; ++i) {
      const left = i >= channels ? line[i - channels] : 0;
      const up = previous[i];
      const upLeft = i >= channels ? previous[i - channels] : 0;
      let add = 0;
      if (filter === 1) add = left;
      else if (filter === 2) add = up;
      else if (filter === 3) add = (left + up) >> 1;
      else if (filter === 4) {
        const p = left + up - upLeft;
        const pa = Math.abs(p - left), pb = Math.abs(p - up), pc = Math.abs(p - upLeft);
        add = pa <= pb && pa <= pc ? left : pb <= pc ? up : upLeft;
      }
      line[i] = (line[i] + add) & 255;
    }
    for (let x = 0; x < width; ++x) {
      for (let c = 0; c < 3; ++c)
        pixels[(y * width + x) * 4 + c] = line[x * channels + c];
      pixels[(y * width + x) * 4 + 3] = channels === 4 ? line[x * channels + 3] : 255;
    }
    previous = line;
  }
  return { width, height, pixels };
}

export function readPngFile(path) {
  return readPng(readFileSync(path));
}

// How far two pictures lie apart in a region: the mean absolute difference of the colour
// channels, and the share of pixels whose largest channel difference exceeds `far`.
// With a `shift`, a texture in the region of `a` may lie up to that many pixels to any side of
// where it lies in `b` while the rest stays in place: each pixel of `b` is compared with the
// nearer of the pixel of `a` at its place and the one shifted, and the shift that fits the
// region best counts. The region must stay `shift` pixels inside the picture.
export function difference(a, b, region, far = 48, shift = 0) {
  let best = null;
  for (let dy = -shift; dy <= shift; ++dy) {
    for (let dx = -shift; dx <= shift; ++dx) {
      const d = shiftedDifference(a, b, region, far, dx, dy);
      if (best === null || d.mean < best.mean)
        best = d;
    }
  }
  return best;
}

function shiftedDifference(a, b, region, far, dx, dy) {
  let sum = 0, farPixels = 0;
  const near = [0, 0, 0];
  for (let y = region.y; y < region.y + region.h; ++y) {
    for (let x = region.x; x < region.x + region.w; ++x) {
      const i = (y * a.width + x) * 4;
      const j = ((y + dy) * a.width + x + dx) * 4;
      let here = 0, shifted = 0;
      for (let c = 0; c < 3; ++c) {
        here += Math.abs(a.pixels[i + c] - b.pixels[i + c]);
        shifted += Math.abs(a.pixels[j + c] - b.pixels[i + c]);
      }
      const from = here <= shifted ? i : j;
      let largest = 0;
      for (let c = 0; c < 3; ++c) {
        const d = Math.abs(a.pixels[from + c] - b.pixels[i + c]);
        sum += d;
        largest = Math.max(largest, d);
      }
      if (largest > far)
        ++farPixels;
    }
  }
  const count = region.w * region.h;
  return { mean: sum / (3 * count), share: farPixels / count };
}

// The mean brightness (0 to 255) of a region.
export function brightness(picture, region) {
  let sum = 0;
  for (let y = region.y; y < region.y + region.h; ++y) {
    for (let x = region.x; x < region.x + region.w; ++x) {
      const i = (y * picture.width + x) * 4;
      sum += picture.pixels[i] + picture.pixels[i + 1] + picture.pixels[i + 2];
    }
  }
  return sum / (3 * region.w * region.h);
}

// Looks for a thing of a reference picture (a coloured text, a ship) in a picture where it
// may lie off its place, up to `reach` pixels to each side and `reachY` up or down (the screen
// shakes, and a pause holds the shake where it stood; a ship flies): the pixels of `region`
// of `ref` that `inThing` accepts are the template, and the answer is the smallest mean
// difference of their colour channels over every offset, with the offset.
export function findText(shot, ref, region, inText, reach, reachY = reach) {
  const template = [];
  for (let y = region.y; y < region.y + region.h; ++y) {
    for (let x = region.x; x < region.x + region.w; ++x) {
      const i = (y * ref.width + x) * 4;
      if (inText(ref.pixels[i], ref.pixels[i + 1], ref.pixels[i + 2]))
        template.push([x, y, i]);
    }
  }
  let best = { mean: Infinity, dx: 0, dy: 0, pixels: template.length };
  for (let dy = -reachY; dy <= reachY; ++dy) {
    for (let dx = -reach; dx <= reach; ++dx) {
      let sum = 0;
      for (const [x, y, i] of template) {
        const sx = Math.min(Math.max(x + dx, 0), shot.width - 1);
        const sy = Math.min(Math.max(y + dy, 0), shot.height - 1);
        const j = (sy * shot.width + sx) * 4;
        for (let c = 0; c < 3; ++c)
          sum += Math.abs(shot.pixels[j + c] - ref.pixels[i + c]);
      }
      const mean = sum / (3 * template.length);
      if (mean < best.mean)
        best = { mean, dx, dy, pixels: template.length };
    }
  }
  return best;
}
