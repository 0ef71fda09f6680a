// The page among the browser's other tabs: two tabs of one browser that each enter a name keep
// both, and a tab hidden for longer than the stage lasts costs the stage none of its seconds.
// Only the tab in front gets frames, so each is brought to the front to play.
import assert from 'node:assert/strict';
import path from 'node:path';
import { after, before, test } from 'node:test';

import { serve } from '../../tools/web/serve.mjs';
import { webDir } from './support/builds.mjs';
import { GamePage, launchBrowser, sleep } from './support/game_page.mjs';
import { agreement, keep, picture } from './support/pictures.mjs';
import { referenceGame } from './support/reference_game.mjs';

const site = path.join(webDir, 'site');
const table = { x: 0, y: 0, width: 640, height: 420 };
const okBox = { x: 270, y: 350, width: 100, height: 60 };  // gfx/BOK.bmp, where the box draws it
const seconds = { x: 585, y: 0, width: 55, height: 30 };    // the seconds left, top right

let served;
let reference;

before(async () => {
  reference = referenceGame();
  served = await serve(site);
});

after(() => served?.close());

async function front(game) {
  await game.page.bringToFront();
  await sleep(300);
}

// The game's play, its swat scored, given up: the name entry of a game that qualifies.
async function playToNameEntry(game) {
  await front(game);
  await game.load(served.url);
  await game.playToNameEntry(reference);
}

// Highscore.dat as IndexedDB holds it for the page's save folder.
function storedTable(game) {
  return game.page.evaluate(() => new Promise((resolve, reject) => {
    const open = indexedDB.open('/save');
    open.onerror = () => reject(open.error);
    open.onsuccess = () => {
      const read = open.result.transaction('FILE_DATA').objectStore('FILE_DATA')
        .get('/save/Highscore.dat');
      read.onsuccess = () => resolve(read.result ? Array.from(read.result.contents) : []);
      read.onerror = () => reject(read.error);
    };
  }));
}

const names = (bytes) => {
  const rows = [];
  for (let row = 0; row < bytes.length / 40; row++) {
    rows.push(String.fromCharCode(...bytes.slice(row * 40, row * 40 + 3)));
  }
  return rows;
};

test('two tabs each enter a name: IndexedDB keeps both, and a third tab shows both', async () => {
  const browser = await launchBrowser();
  try {
    const b = await GamePage.open(browser);
    const c = await GamePage.open(browser);
    await playToNameEntry(b);
    await playToNameEntry(c);  // C loaded its table before B saved
    await front(b);
    await b.type(['b', 'b', 'b']);
    await sleep(800);
    await front(c);
    await c.type(['c', 'c', 'c']);
    await sleep(800);
    const shownByC = await c.shot();
    keep(shownByC, 'two-tabs-the-second-to-save');
    assert.deepEqual(names(await storedTable(c)).slice(0, 3), ['BBB', 'CCC', '---']);

    const third = await GamePage.open(browser);
    await front(third);
    await third.load(served.url);
    await third.placeMouse();
    await third.moveCursorTo({ x: 512, y: 394 });  // Highscores
    await third.click();
    await sleep(1500);
    const shownByThird = await third.shot();
    keep(shownByThird, 'two-tabs-a-third-tab');
    // The table the second tab merged and showed, row for row.
    assert.ok(agreement(shownByThird, shownByC, table) > 0.99,
      'the third tab does not show the table the second merged');
    assert.deepEqual([...b.errors, ...c.errors, ...third.errors], []);
    // Served by no leaderboard, the page sends its games nowhere and says nothing of a rank.
    assert.equal(await c.page.$eval('#rank', (p) => p.hidden), true);
  } finally {
    await browser.close();
  }
});

// Whether two shots show the same seconds: the same pixels of their region are red (the flies
// that crawl under the digits are not).
function sameDigits(a, b) {
  const red = (shot, i) => shot.data[i] > 180 && shot.data[i + 1] < 90 && shot.data[i + 2] < 90;
  for (let y = seconds.y; y < seconds.y + seconds.height; y++) {
    for (let x = seconds.x; x < seconds.x + seconds.width; x++) {
      const i = (y * a.width + x) * 4;
      if (red(a, i) !== red(b, i)) return false;
    }
  }
  return true;
}

test('a tab hidden for longer than the stage lasts: on return the seconds read as they did, ' +
     'the sound comes back, and the stage times out when they run out', async () => {
  const browser = await launchBrowser();
  try {
    const game = await GamePage.open(browser);
    await front(game);
    await game.load(served.url);
    await game.placeMouse();
    await game.startPlay();
    const playStarted = Date.now();
    // Just after a second ticks, so that the digits shown do not change as the tab goes.
    await sleep(4000);
    let beforeHiding = await game.shot();
    for (let changed = false; !changed;) {
      const next = await game.shot();
      changed = !sameDigits(beforeHiding, next);
      beforeHiding = next;
    }
    const left = 60 - Math.round((Date.now() - playStarted) / 1000);
    const other = await browser.newPage();
    await other.bringToFront();
    const hiddenAt = Date.now();
    await sleep(500);
    assert.equal(await game.page.evaluate(() => Module.SDL2.audioContext.state), 'suspended');
    await sleep(61000);  // the stage's 60 s and more
    await front(game);
    const hiddenFor = Date.now() - hiddenAt;
    const afterShowing = await game.shot();
    keep(beforeHiding, 'hidden-tab-before');
    keep(afterShowing, 'hidden-tab-after');
    assert.ok(sameDigits(beforeHiding, afterShowing), 'the seconds shown changed while the tab was hidden');
    assert.equal(await game.page.evaluate(() => Module.SDL2.audioContext.state), 'running');

    // The OK box of the time out once the seconds left are gone. The browser kept the pointer
    // as the tab went: the swatter follows it, out of the box's way.
    const shown = Date.now();
    await game.movePointer({ x: 10, y: 470 });
    let timedOutAfter;
    let seen;
    while (timedOutAfter === undefined && Date.now() - shown < (left + 5) * 1000) {
      await sleep(250);
      seen = await game.shot();
      if (agreement(seen, picture(reference.okBox), okBox) > 0.9) {
        timedOutAfter = (Date.now() - shown) / 1000;
      }
    }
    keep(seen, 'hidden-tab-time-out');
    assert.ok(timedOutAfter !== undefined, `no time out within ${left + 5} s of the return ` +
      `(hidden ${hiddenFor} ms)`);
    assert.ok(timedOutAfter > left - 1.5 && timedOutAfter < left + 1,
      `the stage timed out ${timedOutAfter} s after the return, with ${left} s left`);
    assert.deepEqual(game.errors, []);
  } finally {
    await browser.close();
  }
});
