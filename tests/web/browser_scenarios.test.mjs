// The page in a real browser: Debian's Chromium, headless, driven over the DevTools protocol,
// the page served on 127.0.0.1 by the leaderboard, as ./play --web serves it. One visit played
// as a person would, each moment's screenshot checked against the desktop's headless frame of
// the same moment (the pointer let go in play on the way), the game it kept ranked by the
// leaderboard and checked in IndexedDB by the web build's replay tool, and the exit picture's
// click at the end.
import assert from 'node:assert/strict';
import { writeFileSync } from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';

import { replayTool, scratch } from './support/builds.mjs';
import { GamePage, flipMs, launchBrowser, sleep } from './support/game_page.mjs';
import { serveFromLeaderboard } from './support/leaderboard.mjs';
import { agreement, keep, picture } from './support/pictures.mjs';
import { highscoresButton, okButton, referenceGame } from './support/reference_game.mjs';

let browser;
let served;
let game;
let reference;

async function assertLike(seen, expectedFile, least, what, region) {
  keep(seen, what.replace(/[^a-z0-9]+/gi, '-').replace(/^-|-$/g, ''));
  const share = agreement(seen, picture(expectedFile), region);
  assert.ok(share >= least, `${what}: ${(share * 100).toFixed(1)} % of the pixels agree with ` +
    `the desktop's frame (at least ${least * 100} % wanted); the page says: ` +
    `${(await game.lines()).join(' ')}`);
}

const headUpDisplay = { x: 200, y: 0, width: 240, height: 24 };
const pointerLocked = () => game.page.evaluate(() => document.pointerLockElement?.id === 'canvas');

before(async () => {
  reference = referenceGame();
  served = await serveFromLeaderboard();
  browser = await launchBrowser();
  game = await GamePage.open(browser);
});

after(async () => {
  await browser?.close();
  served?.close();
});

test('the title appears, its fly cursor animated', async () => {
  await game.load(served.url);
  await sleep(300);
  await assertLike(await game.shot(), reference.title, 0.97, 'the title');
  assert.equal(await game.page.evaluate(() => Module.SDL2?.audioContext), undefined,
    'the sound opened before the first gesture');
  // The corner of every frame as it is drawn for a second: the cursor's three pictures take turns
  // at the title's pace, which screenshots a steady interval apart can catch as one.
  const corners = await game.page.evaluate(async () => {
    const seen = new Set();
    const draw = CanvasRenderingContext2D.prototype.putImageData;
    CanvasRenderingContext2D.prototype.putImageData = function (image, ...rest) {
      let sum = 0;
      for (let y = 0; y < 48; y++) {
        for (let x = 0; x < 48; x++) sum = (sum * 31 + image.data[(y * image.width + x) * 4]) >>> 0;
      }
      seen.add(sum);
      return draw.call(this, image, ...rest);
    };
    await new Promise((resolve) => setTimeout(resolve, 1000));
    CanvasRenderingContext2D.prototype.putImageData = draw;
    return seen.size;
  });
  assert.ok(corners > 1, 'the fly cursor does not move');
});

test('a click on Play shows the stage-1 intro; a click starts play and the sound', async () => {
  await game.placeMouse();
  assert.ok(await pointerLocked(), 'the first click did not take the pointer');
  await game.moveCursorTo({ x: 528, y: 350 });
  await game.click();
  await sleep(500);
  await assertLike(await game.shot(), reference.intro, 0.97, 'the stage-1 intro');
  assert.equal(await game.page.evaluate(() => Module.SDL2.audioContext.state), 'running');
  await game.click();
  game.playBegan = await game.drawnFlips();
});

test('a swat where the first flies start scores', async () => {
  await game.swat(reference.swat);
  await assertLike(await game.shot(), reference.swatScored, 0.98, `the score ${reference.score}`,
    headUpDisplay);
});

test('the pointer let go in play: the swatter follows it over the picture, and the click ' +
     'that takes it back swats nothing', async () => {
  const { aim } = reference.swat;
  await game.page.evaluate(() => document.exitPointerLock());
  await sleep(100);
  // Free, the pointer is where it is: moved away and back onto the swat's place, the swatter
  // follows it there.
  await game.movePointer({ x: 100, y: 300 });
  await sleep(6 * flipMs);
  await game.movePointer(aim);
  game.cursor = { ...aim };
  await sleep(6 * flipMs);
  const swatter = { x: aim.x, y: aim.y, width: 64, height: 77 };
  await assertLike(await game.shot(), reference.swatScored, 0.8, 'the swatter under the free pointer',
    swatter);
  await game.click();
  await sleep(500);
  assert.ok(await pointerLocked(), 'the click did not take the pointer back');
  // A swat there would have missed: -100.
  await assertLike(await game.shot(), reference.swatScored, 0.98,
    `the score still ${reference.score}`, headUpDisplay);
});

test('Escape gives up, and the OK box answers a click', async () => {
  await game.page.keyboard.press('Escape');
  await sleep(500);
  await assertLike(await game.shot(), reference.okBox, 0.9, 'the surrender\'s OK box');
  await game.moveCursorTo(okButton);
  await game.click();
  await sleep(800);
  await assertLike(await game.shot(), reference.nameEntry, 0.95, 'name entry (the game qualifies)');
});

// The first row of the highscores holds the game: its score, its name and its swats.
const table = { x: 0, y: 0, width: 640, height: 420 };
const firstRow = { x: 0, y: 38, width: 640, height: 36 };

test('the typed letters appear', async () => {
  await game.type(['w', 'e', 'b']);
  await sleep(800);
  const typed = await game.shot();
  await assertLike(typed, reference.nameTyped, 0.97, 'the name typed', table);
  await assertLike(typed, reference.nameTyped, 0.995, 'the name typed, its row', firstRow);
});

test('the leaderboard that served the page plays the game again and ranks it, and the page ' +
     'says so under the picture', async () => {
  const rankLine = () => game.page.$eval('#rank', (p) => (p.hidden ? null : {
    text: p.textContent, link: p.querySelector('a')?.href,
  }));
  let line = null;
  for (let i = 0; i < 100 && !line?.text.startsWith('Your game ranks'); i++) {
    await sleep(100);
    line = await rankLine();
  }
  assert.deepEqual(line, { text: 'Your game ranks 1 of 1 in the world\'s table.', link: served.root },
    served.log());
  const box = await game.page.$eval('#rank', (p) => {
    const r = p.getBoundingClientRect();
    return { x: 0, y: r.bottom - 200, width: 640, height: 200 };
  });
  keep(picture(await game.page.screenshot({ clip: box, type: 'png' })), 'the-rank-under-the-picture');
  const top = await (await fetch(`${served.root}api/v1/top`)).json();
  assert.equal(top.total, 1);
  assert.equal(top.games[0].name, 'WEB');
  assert.equal(top.games[0].score, reference.score);
});

test('after a reload the highscores show the name', async () => {
  await game.load(served.url);
  await game.placeMouse();
  await game.moveCursorTo(highscoresButton);
  await game.click();
  await sleep(1500);
  const reloaded = await game.shot();
  await assertLike(reloaded, reference.nameTyped, 0.97, 'the highscores after a reload', table);
  await assertLike(reloaded, reference.nameTyped, 0.995, 'the highscores after a reload, the row',
    firstRow);
});

test('the named game is kept in IndexedDB, offered on the page, and the Node tool proves it', async () => {
  // Read back after the reload: from IndexedDB, not from the first load's memory.
  const kept = await game.page.evaluate(() => {
    const folder = '/save/replays';
    return Module.FS.readdir(folder).filter((name) => name.endsWith('.replay')).map((name) => (
      { name, text: new TextDecoder().decode(Module.FS.readFile(`${folder}/${name}`)) }));
  });
  assert.equal(kept.length, 1);
  assert.match(kept[0].name, /^\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d_WEB_\d+\.replay$/);
  assert.match(kept[0].text, /^zimbrel-replay 1\n# program: zimbrel \S+ browser\n# proves: WEB score /);
  const links = await game.page.$$eval('#kept-games a', (found) => found.map((a) => a.textContent));
  assert.deepEqual(links, ['watch', 'download']);
  const file = path.join(scratch('kept'), kept[0].name);
  writeFileSync(file, kept[0].text);
  const run = replayTool('web', ['verify', file]);
  assert.equal(run.code, 0, run.errors);
  assert.match(run.output, /: WEB \S+ swats .*\n.*: proves what it claims\n$/);
});

test('Escape on the title shows the exit picture, and its click brings the title back, ' +
     'without a reload', async () => {
  await game.page.evaluate(() => { window.sameVisit = true; });
  await game.page.keyboard.press('Escape');  // the highscores back to the title
  await sleep(500);
  await game.page.keyboard.press('Escape');
  await sleep(500);
  const exitPicture = await game.shot();
  keep(exitPicture, 'the-exit-picture');
  assert.ok(agreement(exitPicture, picture(reference.title)) < 0.5, 'the exit picture is not shown');
  await game.click();
  await sleep(1500);
  await assertLike(await game.shot(), reference.title, 0.97, 'the title again');
  assert.equal(await game.page.evaluate(() => window.sameVisit), true, 'the page was loaded anew');
  assert.deepEqual((await game.lines()).filter((line) => line !== ''), []);
});

test('the console shows no error', () => {
  assert.deepEqual(game.errors, []);
});
