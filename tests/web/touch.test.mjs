// The page on a phone: Chromium at a phone's size with touch, played by fingers only. Play and
// the intro tapped, the reference game's swat made by a tap where the fly is, cream by a second
// finger, the page's button to give up, the name typed on the phone's keyboard (text put into
// the field, as a phone's keyboard does), and the game it kept proven by the Node tool. Each
// moment's screenshot of the whole page is kept in build/web/screenshots/.
import assert from 'node:assert/strict';
import { writeFileSync } from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';

import { serve } from '../../tools/web/serve.mjs';
import { replayTool, scratch, webDir } from './support/builds.mjs';
import { middleOf, swatterTip, touchScreen } from './support/fingers.mjs';
import { GamePage, flipMs, launchBrowser, sleep } from './support/game_page.mjs';
import { keep, picture } from './support/pictures.mjs';
import { highscoresButton, playButton, referenceGame } from './support/reference_game.mjs';

const landscape = { width: 844, height: 390, isMobile: true, hasTouch: true };

let browser;
let served;
let game;
let fingers;
let tap;
let reference;

async function keepPage(name) {
  keep(picture(await game.page.screenshot({ type: 'png' })), name);
}

const escapeButton = () => game.page.$eval('#escape', (b) => (b.hidden ? '' : b.textContent));

async function tapEscapeButton() {
  const at = await middleOf(game.page, '#escape');
  await game.page.touchscreen.tap(at.x, at.y);
}

before(async () => {
  reference = referenceGame();
  served = await serve(path.join(webDir, 'site'));
  browser = await launchBrowser();
  game = await GamePage.open(browser);
  await game.page.setViewport(landscape);
  ({ fingers, tap } = await touchScreen(game));
});

after(async () => {
  await browser?.close();
  served?.close();
});

test('held upright, the page asks to turn the phone; on its side it does not, and the page ' +
     'neither scrolls nor selects', async () => {
  await game.load(served.url);
  const turnShown = () => game.page.$eval('#turn', (p) => getComputedStyle(p).display !== 'none');
  await game.page.setViewport({ ...landscape, width: 390, height: 844 });
  await sleep(200);
  assert.equal(await turnShown(), true);
  await keepPage('phone-upright');
  await game.page.setViewport(landscape);
  await sleep(200);
  assert.equal(await turnShown(), false);
  const style = await game.page.$eval('body', (b) => {
    const s = getComputedStyle(b);
    return [s.touchAction, s.userSelect, s.overflow];
  });
  assert.deepEqual(style, ['none', 'none', 'hidden']);
});

test('taps start a game; a finger on a fly swats it, and a second finger drops cream', async () => {
  await tap(playButton);
  await sleep(500);
  await tap({ x: 320, y: 240 });  // the intro
  game.playBegan = await game.drawnFlips();
  assert.equal(await escapeButton(), 'Give up');
  const { flip, aim } = reference.swat;
  await game.waitForPlayFlip(flip - 2);
  // The first finger swats where it lands and holds the swatter; a second drops the cream there.
  const onTheFly = { x: aim.x + swatterTip.x, y: aim.y + swatterTip.y };
  await fingers('touchStart', [onTheFly]);
  await sleep(3 * flipMs);
  await fingers('touchStart', [onTheFly, { x: 100, y: 400 }]);
  await sleep(3 * flipMs);
  await fingers('touchEnd', []);
  await game.waitForPlayFlip(flip + 25);
  await keepPage('phone-swat-and-cream');
});

test('the page\'s button gives up, a tap takes the OK box, and the name is typed on the ' +
     'phone\'s keyboard', async () => {
  await tapEscapeButton();
  await sleep(500);
  await tap({ x: 300, y: 370 });  // the OK picture
  await sleep(800);
  assert.equal(await game.page.evaluate(() => document.activeElement?.id), 'name-field');
  await keepPage('phone-name-entry');
  for (const letter of 'tch') {
    await game.page.keyboard.sendCharacter(letter);
    await sleep(400);
  }
  await sleep(500);
  await keepPage('phone-name-typed');
  assert.equal(await game.page.evaluate(() => document.activeElement === document.body), true,
    'the field lets go of the focus once the name is complete');
});

test('after a reload the name is in the table, and the kept game proves its score and its ' +
     'cream', async () => {
  await game.load(served.url);
  const saved = await game.page.evaluate(() => {
    const bytes = Module.FS.readFile('/save/Highscore.dat');
    return Array.from({ length: 10 }, (_, row) => String.fromCharCode(...bytes.slice(40 * row, 40 * row + 3)));
  });
  assert.ok(saved.includes('TCH'), `the table's names: ${saved.join(' ')}`);
  const kept = await game.page.evaluate(() => {
    const folder = '/save/replays';
    return Module.FS.readdir(folder).filter((name) => name.endsWith('.replay')).map((name) => (
      { name, text: new TextDecoder().decode(Module.FS.readFile(`${folder}/${name}`)) }));
  });
  assert.equal(kept.length, 1);
  assert.match(kept[0].text, /\n# proves: TCH score [1-9]\d* /);
  assert.match(kept[0].text, /\n\d+ \d+ mouse -?\d+ -?\d+ \d+ [1-9]/, 'the right button, for cream');
  const file = path.join(scratch('touch-kept'), kept[0].name);
  writeFileSync(file, kept[0].text);
  const run = replayTool('web', ['verify', file]);
  assert.equal(run.code, 0, run.errors);
  assert.match(run.output, /: proves what it claims\n$/);
});

test('the table\'s Back button returns to the title', async () => {
  await tap(highscoresButton);
  await sleep(1000);
  assert.equal(await escapeButton(), 'Back');
  await tapEscapeButton();
  await sleep(500);
  assert.equal(await escapeButton(), '');
  await keepPage('phone-title');
});

test('the console shows no error', () => {
  assert.deepEqual(game.errors, []);
});
