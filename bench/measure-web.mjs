// The web build's figures in Debian's headless Chromium (bench/RESULTS.md):
//   node bench/measure-web.mjs [RUNS] [SITE]
// the page's download as the server sends it (gzip) and raw, navigation to the first title
// frame (cache off) as served and at an emulated 10 Mbit/s, and on a repeat visit (the service
// worker's copy, after a first visit in the same profile), the frames a second the game draws
// while stage 1 plays and while the credits sweep beside the page's own refreshes, the CPU of
// the browser's processes while the title waits and while the stage plays, and the benchmark's
// busy play frame timed in the browser; and a ten-minute session's page served by the
// leaderboard (/games/1): its first flip shown, the end reached (all of it known), and seeks to
// places along its bar, each timed from the click to the flip's picture painted. SITE is build/web/site unless given (an older build's
// site may be measured the same way); `node bench/measure-web.mjs RUNS SITE seek` measures the
// seeking alone. Needs tools/build-web and tools/web/test's npm folder.
import { spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, readdirSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { createRequire } from 'node:module';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

import { serve } from '../tools/web/serve.mjs';
import { serveFromLeaderboard } from '../tests/web/support/leaderboard.mjs';

const sourceDir = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..');
const webDir = path.join(sourceDir, 'build/web');
const require = createRequire(`${webDir}/npm/`);
const puppeteer = require('puppeteer-core');
const runs = Number(process.argv[2] ?? 5);
const site = path.resolve(process.argv[3] ?? path.join(webDir, 'site'));
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const clockTicks = 100;  // /proc's ticks a second on Linux
const tenMegabits = { offline: false, latency: 20, downloadThroughput: 10e6 / 8, uploadThroughput: 10e6 / 8 };

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

function launch() {
  return puppeteer.launch({
    executablePath: '/usr/bin/chromium', headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic'],
  });
}

// A fresh tab counting the canvas's drawn frames and the page's own refreshes.
async function countingPage(browser) {
  const page = await browser.newPage();
  await page.setViewport({ width: 640, height: 700 });
  await page.setCacheEnabled(false);
  await page.evaluateOnNewDocument(() => {
    window.drawn = 0;
    window.refreshes = 0;
    const draw = CanvasRenderingContext2D.prototype.putImageData;
    CanvasRenderingContext2D.prototype.putImageData = function (...args) {
      if (window.firstFrameAt === undefined) window.firstFrameAt = performance.now();
      window.drawn++;
      return draw.apply(this, args);
    };
    const refresh = () => { window.refreshes++; requestAnimationFrame(refresh); };
    requestAnimationFrame(refresh);
  });
  return page;
}

// The bytes the browser took over the network for the whole visit, and what they unpack to.
async function download(url) {
  const browser = await launch();
  const page = await countingPage(browser);
  const network = await page.target().createCDPSession();
  await network.send('Network.enable');
  const sizes = new Map();
  network.on('Network.responseReceived', (event) => {
    if (event.response.url.startsWith('http')) sizes.set(event.requestId, { url: event.response.url });
  });
  network.on('Network.dataReceived', (event) => {
    const entry = sizes.get(event.requestId);
    if (entry) entry.raw = (entry.raw ?? 0) + event.dataLength;
  });
  network.on('Network.loadingFinished', (event) => {
    const entry = sizes.get(event.requestId);
    if (entry) entry.sent = event.encodedDataLength;
  });
  await page.goto(url);
  for (let i = 0; i < 200 && await page.evaluate(() => window.firstFrameAt) === undefined; i++) {
    await sleep(50);
  }
  await browser.close();
  let sent = 0;
  let raw = 0;
  for (const { url: file, sent: s = 0, raw: r = 0 } of sizes.values()) {
    console.log(`  ${path.basename(new URL(file).pathname) || 'index.html'}: ${s} bytes sent, ${r} unpacked`);
    sent += s;
    raw += r;
  }
  return { sent, raw };
}

// Milliseconds from navigation to the first frame drawn. A repeat visit first visits once in
// the same profile, and waits for the service worker to keep the files.
async function firstTitleFrame(url, conditions) {
  const browser = await launch();
  if (conditions === 'repeat') {
    const first = await browser.newPage();
    await first.goto(url);
    await first.evaluate(() => navigator.serviceWorker.ready);
    await first.close();
  }
  const page = await countingPage(browser);
  if (conditions === 'repeat') {
    await page.setCacheEnabled(true);
  } else if (conditions) {
    const network = await page.target().createCDPSession();
    await network.send('Network.enable');
    await network.send('Network.emulateNetworkConditions', conditions);
  }
  await page.goto(url);
  let at;
  for (let i = 0; i < 1200 && at === undefined; i++) {
    await sleep(25);
    at = await page.evaluate(() => window.firstFrameAt);
  }
  await browser.close();
  if (at === undefined) throw new Error(`${url}: the page drew no frame within 30 s`);
  return at;
}

// Drawn frames and the page's refreshes a second over the next seconds, and the browser's CPU.
async function sample(page, pid, seconds) {
  const count = () => page.evaluate(() => [window.drawn, window.refreshes, performance.now()]);
  const [drawn, refreshes, start] = await count();
  const cpu = treeCpu(pid);
  await sleep(seconds * 1000);
  const [drawnLater, refreshesLater, end] = await count();
  const elapsed = (end - start) / 1000;
  return {
    drawn: (drawnLater - drawn) / elapsed,
    refreshes: (refreshesLater - refreshes) / elapsed,
    cpu: (treeCpu(pid) - cpu) / elapsed,
  };
}

// The title waiting (from the 3rd second and from the 20th), stage 1 playing, the credits sweeping (their first 394 frames draw a new
// picture each). The cursor is first driven into the top-left corner, so that the moves that
// follow work whether or not the page's first click takes the pointer.
async function play(url) {
  const browser = await launch();
  const page = await countingPage(browser);
  await page.goto(url);
  await sleep(3000);
  const pid = browser.process().pid;
  const title = await sample(page, pid, 10);
  // Once the start's own work is done (the service worker keeping the files, the WebAssembly's
  // hot functions compiled again by the optimising tier), the title alone.
  await sleep(7000);
  const steadyTitle = await sample(page, pid, 8);
  const box = await page.$eval('#canvas', (c) => c.getBoundingClientRect().toJSON());
  const mouse = { x: box.x + 320, y: box.y + 240 };
  const move = async (dx, dy) => {
    mouse.x += dx;
    mouse.y += dy;
    await page.mouse.move(mouse.x, mouse.y);
    await sleep(150);
  };
  const click = async () => {
    await page.mouse.down();
    await sleep(50);
    await page.mouse.up();
    await sleep(150);
  };
  await move(0, 0);
  await click();  // the sound and the pointer
  await move(-400, -300);  // the cursor at (0, 0)
  await move(264, 175);  // (528, 350): Play
  await click();
  await sleep(800);
  await click();  // the intro
  await sleep(1000);
  const stage = await sample(page, pid, 10);
  await page.keyboard.press('Escape');  // surrender
  await sleep(800);
  await move(-124, -7);  // (280, 336): OK
  await click();
  await sleep(800);
  await move(116, 49);  // (512, 434): Credits
  await click();
  await sleep(300);
  const credits = await sample(page, pid, 5);
  await browser.close();
  return { title, 'title from the 20th second': steadyTitle, stage, credits };
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
  served.close();
  if (result === undefined) throw new Error(`${served.url}: the benchmark printed no median`);
  return result;
}

// The scripted player's ten minutes, ranked by the leaderboard, watched at /games/1: the time
// its page takes to be ready, then each seek from the bar's click to the picture painted.
async function seeking(seeks) {
  const folder = mkdtempSync(path.join(tmpdir(), 'zimbrel-seek-'));
  const proof = path.join(folder, 'ten_minutes.replay');
  const made = spawnSync('./zimbrel-replay', ['autoplay', proof, '--minutes', '10'],
    { cwd: path.join(webDir, 'native/run'), env: { ...process.env, SDL_AUDIODRIVER: 'dummy' } });
  if (made.status !== 0) throw new Error(`autoplay: ${made.stderr}`);
  const leaderboard = await serveFromLeaderboard(['--review', 'off']);
  const sent = await fetch(`${leaderboard.root}api/v1/games`, { method: 'POST', body: readFileSync(proof) });
  if (sent.status !== 201) throw new Error(`the ten minutes were not ranked: ${await sent.text()}`);
  const browser = await launch();
  const page = await browser.newPage();
  await page.setViewport({ width: 1280, height: 800 });
  await page.evaluateOnNewDocument(() => {
    window.addEventListener('pointerdown', () => { window.seekAsked = performance.now(); }, true);
    document.addEventListener('DOMContentLoaded', () => {
      new MutationObserver(() => requestAnimationFrame(() => { window.seekShown = performance.now(); }))
        .observe(document.getElementById('where'), { childList: true, characterData: true, subtree: true });
    });
  });
  const opened = performance.now();
  await page.goto(`${leaderboard.root}games/1#flip=1`);
  await page.waitForFunction(() => document.getElementById('where').textContent.startsWith('flip 1 '),
    { timeout: 600000, polling: 100 });
  const shown = performance.now() - opened;
  // The whole game known (End runs through it, keeping its copies), as a visitor's seeks find it
  // once it has: then seeks anywhere.
  await page.keyboard.press('End');
  const last = await page.$eval('#bar', (b) => b.getAttribute('aria-valuemax'));
  await page.waitForFunction((n) => document.getElementById('where').textContent.startsWith(`flip ${n} `),
    { timeout: 600000, polling: 100 }, last);
  const ready = performance.now() - opened;
  const held = await page.evaluate(() => window.Module.watchMachinery.held());
  const bar = await page.$eval('#bar', (b) => { const r = b.getBoundingClientRect(); return { x: r.x, y: r.y, width: r.width }; });
  const times = [];
  for (let i = 0; i < seeks; i++) {
    const fraction = ((i * 0.618034) % 1) * 0.98 + 0.01;
    await page.evaluate(() => { window.seekShown = 0; });
    await page.mouse.click(bar.x + fraction * bar.width, bar.y + 10);
    await page.waitForFunction(() => window.seekShown > window.seekAsked, { timeout: 60000, polling: 5 });
    times.push(await page.evaluate(() => window.seekShown - window.seekAsked));
    await sleep(300);
  }
  await browser.close();
  leaderboard.close();
  return { shown, ready, times, held };
}

const load = () => readFileSync('/proc/loadavg', 'utf8').trim();
console.log(`site: ${site}; load average at the start: ${load()}`);
if (process.argv[4] === 'seek') {
  const { shown, ready, times, held } = await seeking(runs * 4);
  console.log(`ten minutes at /games/1: first flip shown in ${(shown / 1000).toFixed(1)} s, ` +
    `the end (all known) in ${(ready / 1000).toFixed(1)} s; seeks median ` +
    `${median(times).toFixed(0)} ms, most ${Math.max(...times).toFixed(0)} ms (${times.map((t) => t.toFixed(0)).join(' ')}); ` +
    `the copies hold ${(held / 1e6).toFixed(0)} MB`);
  console.log(`load average at the end: ${load()}`);
  process.exit(0);
}
const served = await serve(site);
const sizes = await download(served.url);
console.log(`download: ${(sizes.sent / 1e6).toFixed(2)} MB sent, ${(sizes.raw / 1e6).toFixed(2)} MB unpacked`);
for (const [what, conditions] of [['as served', undefined], ['at 10 Mbit/s', tenMegabits],
  ['on a repeat visit', 'repeat']]) {
  const starts = [];
  for (let i = 0; i < runs; i++) starts.push(await firstTitleFrame(served.url, conditions));
  console.log(`navigation to the first title frame ${what}: median ${median(starts).toFixed(0)} ms ` +
    `(runs ${starts.map((t) => t.toFixed(0)).join(' ')})`);
}
const seen = await play(served.url);
served.close();
for (const [what, figures] of Object.entries(seen)) {
  console.log(`${what}: ${figures.drawn.toFixed(1)} frames drawn a second, the page's refresh ` +
    `${figures.refreshes.toFixed(1)} a second, browser CPU ${(figures.cpu * 100).toFixed(1)} % of a core`);
}
console.log(`busy boss-stage play frame in the browser: median ${await browserPlayFrame()} ms`);
console.log(`load average at the end: ${load()}`);
