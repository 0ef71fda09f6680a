// The web build's figures in Debian's headless Chromium (bench/RESULTS.md):
//   node bench/measure-web.mjs [RUNS]
// the page's whole download compressed with gzip, navigation to the first title frame, the
// CPU of the browser's processes while the title waits and while a stage plays, and the
// benchmark's busy play frame timed in the browser. Needs tools/build-web and tools/web/test's
// npm folder.
import { readFileSync, readdirSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { gzipSync } from 'node:zlib';

import { serve } from '../tools/web/serve.mjs';

const sourceDir = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..');
const webDir = path.join(sourceDir, 'build/web');
const require = createRequire(`${webDir}/npm/`);
const puppeteer = require('puppeteer-core');
const runs = Number(process.argv[2] ?? 5);
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const clockTicks = 100;  // /proc's ticks a second on Linux

function downloadSizes() {
  const site = path.join(webDir, 'site');
  let raw = 0;
  let gzipped = 0;
  for (const name of ['index.html', 'page.css', 'page.js', 'zimbrel.js', 'zimbrel.wasm',
    'zimbrel.data']) {
    const bytes = readFileSync(path.join(site, name));
    raw += bytes.length;
    gzipped += gzipSync(bytes, { level: 9 }).length;
    console.log(`  ${name}: ${bytes.length} bytes, ${gzipSync(bytes, { level: 9 }).length} gzipped`);
  }
  return { raw, gzipped };
}

// User and system time of a process and all its descendants, in seconds.
function treeCpu(root) {
  const parents = new Map();
  const times = new Map();
  for (const pid of readdirSync('/proc').filter((n) => /^\d+$/.test(n))) {
    try {
      const stat = readFileSync(`/proc/${pid}/stat`, 'utf8');
      const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      parents.set(Number(pid), Number(fields[1]));
      times.set(Number(pid), (Number(fields[11]) + Number(fields[12])) / clockTicks);
    } catch {
      // gone since the listing
    }
  }
  const inTree = (pid) => pid === root || (parents.has(pid) && pid > 1 && inTree(parents.get(pid)));
  let total = 0;
  for (const [pid, seconds] of times) if (inTree(pid)) total += seconds;
  return total;
}

async function launch() {
  return puppeteer.launch({
    executablePath: '/usr/bin/chromium', headless: true, args: ['--no-sandbox'],
  });
}

async function firstTitleFrame(url) {
  const browser = await launch();
  const page = await browser.newPage();
  await page.setCacheEnabled(false);
  await page.evaluateOnNewDocument(() => {
    const draw = CanvasRenderingContext2D.prototype.putImageData;
    CanvasRenderingContext2D.prototype.putImageData = function (...args) {
      if (window.firstFrameAt === undefined) window.firstFrameAt = performance.now();
      return draw.apply(this, args);
    };
  });
  await page.goto(url);
  let at;
  for (let i = 0; i < 200 && at === undefined; i++) {
    await sleep(25);
    at = await page.evaluate(() => window.firstFrameAt);
  }
  await browser.close();
  if (at === undefined) throw new Error(`${url}: the page drew no frame within 5 s`);
  return at;
}

async function cpuShares(url) {
  const browser = await launch();
  const page = await browser.newPage();
  await page.setViewport({ width: 640, height: 700 });
  await page.goto(url);
  await sleep(3000);
  const pid = browser.process().pid;
  const share = async (seconds) => {
    const before = treeCpu(pid);
    await sleep(seconds * 1000);
    return (treeCpu(pid) - before) / seconds;
  };
  const title = await share(10);
  const box = await page.$eval('#canvas', (c) => c.getBoundingClientRect().toJSON());
  await page.mouse.move(box.x + 320, box.y + 240);
  await sleep(100);
  await page.mouse.click(box.x + 320, box.y + 240);  // the sound and the pointer
  await sleep(300);
  await page.mouse.move(box.x + 320 + 264, box.y + 240 + 175);  // the cursor onto Play
  await sleep(200);
  await page.mouse.click(box.x + 584, box.y + 415);
  await sleep(800);
  await page.mouse.click(box.x + 584, box.y + 415);  // the intro
  await sleep(500);
  const playing = await share(10);
  await browser.close();
  return { title, playing };
}

async function browserPlayFrame() {
  const folder = path.join(webDir, 'game/bench');
  writeFileSync(path.join(folder, 'index.html'),
    '<!doctype html><script>var Module = { print: (t) => console.log(t) };</script>' +
    '<script src="play-frame.js"></script>');
  const served = await serve(folder);
  const browser = await launch();
  const page = await browser.newPage();
  let result;
  page.on('console', (m) => {
    console.log(`  ${m.text()}`);
    const found = /median ([\d.]+) ms/.exec(m.text());
    if (found) result = Number(found[1]);
  });
  await page.goto(served.url);
  for (let i = 0; i < 600 && result === undefined; i++) await sleep(100);
  await browser.close();
  served.server.close();
  if (result === undefined) throw new Error(`${served.url}: the benchmark printed no median`);
  return result;
}

const sizes = downloadSizes();
console.log(`download: ${sizes.raw} bytes, ${(sizes.gzipped / 1e6).toFixed(2)} MB gzipped`);
const served = await serve(path.join(webDir, 'site'));
const starts = [];
for (let i = 0; i < runs; i++) starts.push(await firstTitleFrame(served.url));
console.log(`navigation to the first title frame: median ${median(starts).toFixed(0)} ms ` +
  `(runs ${starts.map((t) => t.toFixed(0)).join(' ')})`);
const cpu = await cpuShares(served.url);
console.log(`browser CPU: title waiting ${(cpu.title * 100).toFixed(1)} % of a core, ` +
  `stage 1 playing ${(cpu.playing * 100).toFixed(1)} %`);
served.server.close();
console.log(`busy boss-stage play frame in the browser: median ${await browserPlayFrame()} ms`);
console.log(`load average: ${readFileSync('/proc/loadavg', 'utf8').trim()}`);
