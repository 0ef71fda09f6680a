// The page in a real browser: Debian's Chromium, headless, driven over the DevTools protocol,
// the page served on 127.0.0.1. One visit played as a person would, each moment's screenshot
// checked against the desktop's headless frame of the same moment, and the game it kept in
// IndexedDB checked by the web build's replay tool; then the page's faults.
import assert from 'node:assert/strict';
import { writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';
import { after, before, test } from 'node:test';

import { serve } from '../../tools/web/serve.mjs';
import { replayTool, scratch, webDir } from './support/builds.mjs';
import { agreement, keep, picture } from './support/pictures.mjs';
import {
  highscoresButton, okButton, playButton, playStartsAfter, referenceGame,
} from './support/reference_game.mjs';

const require = createRequire(`${webDir}/npm/`);
const puppeteer = require('puppeteer-core');

const site = path.join(webDir, 'site');
const flipMs = 1000 / 60;
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

let browser;
let served;
let page;
let reference;
let playBegan;  // the flips drawn when the intro's click went up
const consoleErrors = [];
// Where the page's mouse is, in canvas pixels (at this window's size one canvas pixel is one
// picture pixel), and where that has put the game's cursor.
const mouse = { x: 320, y: 240 };
let cursor = { x: 0, y: 0 };

async function openPage() {
  page = await browser.newPage();
  // Room for the picture at its own size above the line of help.
  await page.setViewport({ width: 640, height: 700 });
  page.on('console', (m) => { if (m.type() === 'error') consoleErrors.push(m.text()); });
  page.on('pageerror', (e) => consoleErrors.push(String(e)));
  // The game's flips that changed the picture, counted where the page draws them: in play,
  // where flies crawl, every flip.
  await page.evaluateOnNewDocument(() => {
    window.drawnFlips = 0;
    const draw = CanvasRenderingContext2D.prototype.putImageData;
    CanvasRenderingContext2D.prototype.putImageData = function (...args) {
      window.drawnFlips++;
      return draw.apply(this, args);
    };
  });
}

const drawnFlips = () => page.evaluate(() => window.drawnFlips);

async function canvasBox() {
  return page.$eval('#canvas', (c) => {
    const r = c.getBoundingClientRect();
    return { x: r.x, y: r.y, width: r.width, height: r.height };
  });
}

async function shot() {
  const box = await canvasBox();
  return picture(await page.screenshot({ clip: box, type: 'png' }));
}

// The game's first frame: the canvas shows something but black.
async function loadGame() {
  await page.goto(served.url);
  for (let i = 0; i < 100; i++) {
    await sleep(100);
    const seen = await shot();
    if (seen.data.some((v, index) => index % 4 !== 3 && v > 16)) return;
  }
  throw new Error('the game drew nothing within ten seconds');
}

// The first motion only tells the page where the mouse is; after it, each canvas pixel of
// motion is one count, two pixels of the cursor. The first click, where the title has no
// button, starts the sound and takes the pointer, as the line under the picture asks.
async function placeMouse() {
  const box = await canvasBox();
  mouse.x = 320;
  mouse.y = 240;
  await page.mouse.move(box.x + mouse.x, box.y + mouse.y);
  await sleep(100);
  await click();
  await sleep(300);
}

async function moveCursorTo(target) {
  const box = await canvasBox();
  mouse.x += (target.x - cursor.x) / 2;
  mouse.y += (target.y - cursor.y) / 2;
  await page.mouse.move(box.x + mouse.x, box.y + mouse.y);
  cursor = { ...target };
  await sleep(4 * flipMs);
}

async function click() {
  await page.mouse.down();
  await sleep(3 * flipMs);
  await page.mouse.up();
}

async function assertLike(seen, expectedFile, least, what, region) {
  keep(seen, what.replace(/[^a-z0-9]+/gi, '-').replace(/^-|-$/g, ''));
  const share = agreement(seen, picture(expectedFile), region);
  const lines = await page.$$eval('#notice, #fault', (all) => all.map((p) => p.textContent));
  assert.ok(share >= least, `${what}: ${(share * 100).toFixed(1)} % of the pixels agree with ` +
    `the desktop's frame (at least ${least * 100} % wanted); the page says: ${lines.join(' ')}`);
}

before(async () => {
  reference = referenceGame();
  served = await serve(site);
  browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--autoplay-policy=user-gesture-required'],
  });
  await openPage();
});

after(async () => {
  await browser?.close();
  served?.server.close();
});

test('the title appears, its fly cursor animated', async () => {
  await loadGame();
  await sleep(300);
  const shots = [];
  for (let i = 0; i < 6; i++) {
    shots.push(await shot());
    await sleep(200);
  }
  await assertLike(shots[0], reference.title, 0.97, 'the title');
  const cursorCorner = { x: 0, y: 0, width: 48, height: 48 };
  assert.ok(shots.slice(1).some((later) => agreement(shots[0], later, cursorCorner, 0) < 0.99),
    'the fly cursor does not move');
});

test('a click on Play shows the stage-1 intro; a click starts play and the sound', async () => {
  await placeMouse();
  await moveCursorTo(playButton);
  await click();
  await sleep(500);
  await assertLike(await shot(), reference.intro, 0.97, 'the stage-1 intro');
  assert.equal(await page.evaluate(() => Module.SDL2.audioContext.state), 'running');
  await click();
  playBegan = await drawnFlips();
});

test('a swat where the first flies start scores', async () => {
  const swat = reference.swat;
  const waitForFlip = async (flip) => {
    while (await drawnFlips() < playBegan + flip - playStartsAfter) await sleep(2);
  };
  await waitForFlip(swat.flip - 2);
  const box = await canvasBox();
  mouse.x += (swat.aim.x - cursor.x) / 2;
  mouse.y += (swat.aim.y - cursor.y) / 2;
  cursor = { ...swat.aim };
  await page.mouse.move(box.x + mouse.x, box.y + mouse.y);
  await sleep(flipMs);
  await click();
  // A swat scores when its ten frames are over, however long the machine takes for them.
  await waitForFlip(swat.flip + 25);
  const headUpDisplay = { x: 200, y: 0, width: 240, height: 24 };
  await assertLike(await shot(), reference.swatScored, 0.98, `the score ${reference.score}`,
    headUpDisplay);
});

test('Escape gives up, and the OK box answers a click', async () => {
  await page.keyboard.press('Escape');
  await sleep(500);
  await assertLike(await shot(), reference.okBox, 0.9, 'the surrender\'s OK box');
  await moveCursorTo(okButton);
  await click();
  await sleep(800);
  await assertLike(await shot(), reference.nameEntry, 0.95, 'name entry (the game qualifies)');
});

test('the typed letters appear, and after a reload the highscores show the name', async () => {
  // Held as a person holds a key: a press shorter than a frame is read by the frame's own
  // poll and not by name entry, on the desktop too.
  for (const letter of ['w', 'e', 'b']) {
    await page.keyboard.down(letter);
    await sleep(6 * flipMs);
    await page.keyboard.up(letter);
    await sleep(6 * flipMs);
  }
  await sleep(800);
  // The first row holds the game: its score, its name and its swats.
  const table = { x: 0, y: 0, width: 640, height: 420 };
  const firstRow = { x: 0, y: 38, width: 640, height: 36 };
  const typed = await shot();
  await assertLike(typed, reference.nameTyped, 0.97, 'the name typed', table);
  await assertLike(typed, reference.nameTyped, 0.995, 'the name typed, its row', firstRow);

  await loadGame();
  cursor = { x: 0, y: 0 };
  await placeMouse();
  await moveCursorTo(highscoresButton);
  await click();
  await sleep(1500);
  const reloaded = await shot();
  await assertLike(reloaded, reference.nameTyped, 0.97, 'the highscores after a reload', table);
  await assertLike(reloaded, reference.nameTyped, 0.995, 'the highscores after a reload, the row',
    firstRow);
});

test('the named game is kept in IndexedDB, offered on the page, and the Node tool proves it', async () => {
  // Read back after the reload: from IndexedDB, not from the first load's memory.
  const kept = await page.evaluate(() => {
    const folder = '/save/replays';
    return Module.FS.readdir(folder).filter((name) => name.endsWith('.replay')).map((name) => (
      { name, text: new TextDecoder().decode(Module.FS.readFile(`${folder}/${name}`)) }));
  });
  assert.equal(kept.length, 1);
  assert.match(kept[0].name, /^\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d_WEB_\d+\.replay$/);
  assert.match(kept[0].text, /^zimbrel-replay 1\n# program: zimbrel \S+ browser\n# proves: WEB score /);
  const links = await page.$$eval('#kept-games a', (found) => found.map((a) => a.textContent));
  assert.deepEqual(links, ['watch', 'download']);
  const file = path.join(scratch('kept'), kept[0].name);
  writeFileSync(file, kept[0].text);
  const run = replayTool('web', ['verify', file]);
  assert.equal(run.code, 0, run.errors);
  assert.match(run.output, /: WEB \S+ swats .*\n.*: proves what it claims\n$/);
});

test('the console shows no error', () => {
  assert.deepEqual(consoleErrors, []);
});
