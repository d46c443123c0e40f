import assert from 'node:assert/strict';

// Pixels that differ between two RGBA images.
export function differingPixels(a, b) {
  let count = 0;
  for (let i = 0; i < a.length; i += 4) if (a.readUInt32BE(i) !== b.readUInt32BE(i)) count += 1;
  return count;
}

// At most 0.1 % of the pixels may differ; the count is returned for the report.
export function assertImage(actual, expected, what) {
  assert.equal(`${actual.width}x${actual.height}`, `${expected.width}x${expected.height}`, `${what}: size`);
  const differing = differingPixels(actual.rgba, expected.rgba);
  const total = actual.width * actual.height;
  assert.ok(differing <= 0.001 * total, `${what}: ${differing} of ${total} pixels differ`);
  return differing;
}

// The memory refusal's figures are the machine's: the words must match, the
// numbers need not.
export const withoutFigures = (text) => text.replace(/\d+([.,]\d+)?/g, '#');
