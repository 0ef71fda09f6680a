// Comparing the page's screenshots with the desktop's headless frames: both 640 x 480 PNGs.
import { mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';

import { webDir } from './builds.mjs';

const require = createRequire(`${webDir}/npm/`);
const { PNG } = require('pngjs');

export const picture = (source) => PNG.sync.read(Buffer.isBuffer(source) ? source : readFileSync(source));

// The share of pixels of the region (x, y, width, height; the whole picture by default) whose
// channels all lie within `tolerance` of the other picture's.
export function agreement(a, b, region = { x: 0, y: 0, width: a.width, height: a.height },
                          tolerance = 24) {
  if (a.width !== b.width || a.height !== b.height) {
    throw new Error(`sizes differ: ${a.width}x${a.height} and ${b.width}x${b.height}`);
  }
  let alike = 0;
  for (let y = region.y; y < region.y + region.height; y++) {
    for (let x = region.x; x < region.x + region.width; x++) {
      const i = (y * a.width + x) * 4;
      if (Math.abs(a.data[i] - b.data[i]) <= tolerance &&
          Math.abs(a.data[i + 1] - b.data[i + 1]) <= tolerance &&
          Math.abs(a.data[i + 2] - b.data[i + 2]) <= tolerance) {
        alike++;
      }
    }
  }
  return alike / (region.width * region.height);
}

// Keeps a screenshot where a person can look at it: build/web/screenshots/NAME.png.
export function keep(seen, name) {
  const folder = `${webDir}/screenshots`;
  mkdirSync(folder, { recursive: true });
  writeFileSync(`${folder}/${name}.png`, PNG.sync.write(seen));
}
