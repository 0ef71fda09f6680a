// The game in a tab of Debian's headless Chromium, played as a person plays it: the page's
// mouse and keys over the canvas, screenshots of the picture, the flips it has drawn. Several
// tabs of one browser may each hold a game; only the tab in front gets frames.
import { createRequire } from 'node:module';

import { webDir } from './builds.mjs';
import { picture } from './pictures.mjs';
import { okButton, playButton, playStartsAfter } from './reference_game.mjs';

const require = createRequire(`${webDir}/npm/`);
const puppeteer = require('puppeteer-core');

export const flipMs = 1000 / 60;
export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// What `read` gives once `done` holds for it, or its last when `ms` have passed.
export async function until(read, done, ms) {
  let seen = await read();
  for (const end = Date.now() + ms; !done(seen) && Date.now() < end;) {
    await sleep(100);
    seen = await read();
  }
  return seen;
}

// As the machine runs Chromium: headless, no GPU, no network of its own; puppeteer adds a fresh
// profile and the rest. Sound waits for a gesture, as for a person.
export function launchBrowser() {
  return puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--autoplay-policy=user-gesture-required'],
  });
}

export class GamePage {
  // Where the page's mouse is, in canvas pixels (at this window's size one canvas pixel is one
  // picture pixel), and where that has put the game's cursor.
  mouse = { x: 0, y: 0 };
  cursor = { x: 0, y: 0 };
  scale = 1;  // the page's pixels a picture pixel is shown as
  playBegan = 0;  // the flips drawn when the intro's click went up
  errors = [];
  dialogs = [];  // the browser's questions (a reload mid-game), each answered yes

  static async open(browser) {
    const game = new GamePage();
    game.page = await browser.newPage();
    // Room for the picture at its own size above the lines under it: the rank, the help, the
    // kept games.
    await game.page.setViewport({ width: 640, height: 880 });
    game.page.on('console', (m) => { if (m.type() === 'error') game.errors.push(m.text()); });
    game.page.on('pageerror', (e) => game.errors.push(String(e)));
    game.page.on('dialog', (dialog) => {
      game.dialogs.push(dialog.type());
      dialog.accept();
    });
    // The game's flips that changed the picture, counted where the page draws them: in play,
    // where flies crawl, every flip.
    await game.page.evaluateOnNewDocument(() => {
      window.drawnFlips = 0;
      const draw = CanvasRenderingContext2D.prototype.putImageData;
      CanvasRenderingContext2D.prototype.putImageData = function (...args) {
        window.drawnFlips++;
        return draw.apply(this, args);
      };
    });
    return game;
  }

  drawnFlips() {
    return this.page.evaluate(() => window.drawnFlips);
  }

  async waitForPlayFlip(flip) {
    while (await this.drawnFlips() < this.playBegan + flip - playStartsAfter) await sleep(2);
  }

  canvasBox() {
    return this.page.$eval('#canvas', (c) => {
      const r = c.getBoundingClientRect();
      return { x: r.x, y: r.y, width: r.width, height: r.height };
    });
  }

  async shot() {
    const box = await this.canvasBox();
    return picture(await this.page.screenshot({ clip: box, type: 'png' }));
  }

  // The page's two lines: the fault in the picture's place and the notice under it.
  lines() {
    return this.page.$$eval('#notice, #fault', (all) => all.map((p) => (p.hidden ? '' : p.textContent)));
  }

  // Until the game's first frame: the loading line gone, the canvas shows something but black.
  async load(url) {
    await this.page.goto(url);
    for (let i = 0; i < 100; i++) {
      await sleep(100);
      if (!await this.page.$eval('#loading', (line) => line.hidden)) continue;
      const seen = await this.shot();
      if (seen.data.some((v, index) => index % 4 !== 3 && v > 16)) return;
    }
    throw new Error('the game drew nothing within ten seconds');
  }

  async movePointer(to) {
    const box = await this.canvasBox();
    this.mouse = { ...to };
    await this.page.mouse.move(box.x + to.x, box.y + to.y);
  }

  // The pointer, free, over the middle of the picture (however large it is shown) puts the
  // cursor under it; the first click then takes it (and does nothing else), as the line under
  // the picture says.
  async placeMouse() {
    const box = await this.canvasBox();
    this.scale = box.width / 640;
    await this.movePointer({ x: box.width / 2, y: box.height / 2 });
    this.cursor = { x: 320, y: 240 };
    await sleep(100);
    await this.click();
    await sleep(300);
  }

  // With the pointer taken, each picture pixel of motion is one count, two pixels of the cursor.
  async moveCursorTo(target) {
    await this.countsTo(target);
    await sleep(4 * flipMs);
  }

  async countsTo(target) {
    await this.movePointer({
      x: this.mouse.x + ((target.x - this.cursor.x) / 2) * this.scale,
      y: this.mouse.y + ((target.y - this.cursor.y) / 2) * this.scale,
    });
    this.cursor = { ...target };
  }

  async click() {
    await this.page.mouse.down();
    await sleep(3 * flipMs);
    await this.page.mouse.up();
  }

  // Held as a person holds a key: a press shorter than a frame is read by the frame's own poll
  // and not by name entry, on the desktop too.
  async type(letters) {
    for (const letter of letters) {
      await this.page.keyboard.down(letter);
      await sleep(6 * flipMs);
      await this.page.keyboard.up(letter);
      await sleep(6 * flipMs);
    }
  }

  // From the title: Play, and the stage-1 intro clicked away.
  async startPlay() {
    await this.moveCursorTo(playButton);
    await this.click();
    await sleep(500);
    await this.click();
    this.playBegan = await this.drawnFlips();
  }

  // The reference game's swat, which meets one fly alone: the cursor there just before its flip.
  async swat(swat) {
    await this.waitForPlayFlip(swat.flip - 2);
    await this.countsTo(swat.aim);
    await sleep(flipMs);
    await this.click();
    // A swat scores when its ten frames are over, however long the machine takes for them.
    await this.waitForPlayFlip(swat.flip + 25);
  }

  // From the title: the reference game's swat, given up, to the name entry of a game that
  // qualifies.
  async playToNameEntry(reference) {
    await this.placeMouse();
    await this.startPlay();
    await this.swat(reference.swat);
    await this.page.keyboard.press('Escape');
    await sleep(500);
    await this.moveCursorTo(okButton);
    await this.click();
    await sleep(800);
  }
}
