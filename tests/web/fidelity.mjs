// How close a frame in the browser is to the same frame captured on Linux.
// The two renderers differ in rasterisation and rounding, so the check is
// not equality: the cube's outline must overlap almost entirely and its
// colours agree closely, while a frame one tick away must not pass.

// A pixel belongs to the cube when any channel is clearly above the black
// background; the cube's dimmest lit colour is far above this.
const kLit = 16;

export function compareFrames(a, b) {
  if (a.width !== b.width || a.height !== b.height) {
    throw new Error(`sizes differ: ${a.width}x${a.height} and ${b.width}x${b.height}`);
  }
  let both = 0, either = 0, sum = 0, far = 0;
  for (let i = 0; i < a.width * a.height; ++i) {
    const p = 4 * i;
    const inA = a.rgba[p] > kLit || a.rgba[p + 1] > kLit || a.rgba[p + 2] > kLit;
    const inB = b.rgba[p] > kLit || b.rgba[p + 1] > kLit || b.rgba[p + 2] > kLit;
    if (!inA && !inB) continue;
    ++either;
    if (inA && inB) ++both;
    let worst = 0;
    for (let c = 0; c < 3; ++c) {
      const d = Math.abs(a.rgba[p + c] - b.rgba[p + c]);
      sum += d;
      worst = Math.max(worst, d);
    }
    if (worst > 8) ++far;
  }
  // Shares over the pixels either frame covers: the black background,
  // equal in both, would otherwise water the figures down.
  return {
    iou: either ? both / either : 1,
    meanDiff: either ? sum / (3 * either) : 0,
    farShare: either ? far / either : 0,
  };
}

export function isFaithful(m) {
  return m.iou >= 0.99 && m.meanDiff <= 2 && m.farShare <= 0.01;
}

export function describe(m) {
  return `IoU ${m.iou.toFixed(4)}, mean difference ${m.meanDiff.toFixed(2)} levels, ` +
    `${(100 * m.farShare).toFixed(2)} % off by more than 8`;
}
