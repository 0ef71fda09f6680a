// After a name, the line under the picture that says where the game ranks is in the window,
// below the whole picture, and its link to the world's table is followed by a click: at
// 1280x800 with the mouse (the picture fitted again as the line comes), and on a phone with
// fingers, where full screen is left at the highscores so that the line shows. On the way: the
// Full screen button does not take the pointer, a reload mid-game asks first, and the phone's
// Give up button goes where Escape does nothing.
import assert from 'node:assert/strict';
import { test } from 'node:test';

import { middleOf, swatterTip, touchScreen } from './support/fingers.mjs';
import { GamePage, sleep, until } from './support/game_page.mjs';
import { leaderboardAndBrowser } from './support/leaderboard.mjs';
import { keep, picture } from './support/pictures.mjs';
import { playButton } from './support/reference_game.mjs';

const held = leaderboardAndBrowser();

const pointerLocked = (game) => game.page.evaluate(() => document.pointerLockElement !== null);
const escapeButton = (game) => game.page.$eval('#escape', (b) => (b.hidden ? '' : b.textContent));

// Waits for the rank, then: the picture whole in the window above the line, the line's link in
// the window and the element a press there reaches; `press` follows it to the world's table.
async function rankReachable(game, name, press) {
  const line = await until(() => game.page.$eval('#rank', (p) => (p.hidden ? '' : p.textContent)),
    (text) => text.startsWith('Your game ranks'), 15000);
  assert.match(line, /^Your game ranks \d of \d in the world's table\.$/, held.served.log());
  await sleep(300);
  keep(picture(await game.page.screenshot({ type: 'png' })), name);
  const seen = await game.page.evaluate(() => {
    const picture = document.getElementById('canvas').getBoundingClientRect();
    const link = document.querySelector('#rank a').getBoundingClientRect();
    const [x, y] = [link.x + link.width / 2, link.y + link.height / 2];
    return {
      pictureTop: picture.top, pictureBottom: picture.bottom, lineTop: link.top,
      linkBottom: link.bottom, windowHeight: innerHeight,
      reached: document.elementFromPoint(x, y) === document.querySelector('#rank a'),
    };
  });
  assert.ok(seen.pictureTop >= 0 && seen.pictureBottom <= seen.lineTop &&
    seen.linkBottom <= seen.windowHeight, JSON.stringify(seen));
  assert.equal(seen.reached, true);
  await Promise.all([game.page.waitForNavigation(), press(await middleOf(game.page, '#rank a'))]);
  assert.equal(game.page.url(), held.served.root);
}

// A reload as the player asks for it (the page's own, not the test's navigation, which the
// browser does not question), and the title again.
async function reload(game) {
  await Promise.all([game.page.waitForNavigation(), game.page.evaluate(() => location.reload())]);
  await game.load(held.served.url);
}

test('at 1280x800 the rank line and its link are reachable after a name', async () => {
  const game = await GamePage.open(held.browser);
  await game.page.setViewport({ width: 1280, height: 800 });
  await game.load(held.served.url);
  await game.page.click('#fullscreen');
  await sleep(300);
  assert.equal(await pointerLocked(game), false, 'the Full screen button took the pointer');
  await game.page.evaluate(() => document.exitFullscreen?.().catch(() => {}));
  await reload(game);  // on the title: nothing to lose, nothing asked
  await game.placeMouse();
  await game.startPlay();
  await reload(game);
  assert.deepEqual(game.dialogs, ['beforeunload'], 'a reload in play did not ask first');
  await game.playToNameEntry(held.reference);
  await game.type(['d', 's', 'k']);
  // The pointer is the browser's to give back, as Escape does, before a link can be clicked.
  await game.page.evaluate(() => document.exitPointerLock());
  await rankReachable(game, 'rank-1280x800', (at) => game.page.mouse.click(at.x, at.y));
  assert.deepEqual(game.errors, []);
});

test('on a phone the rank line shows after a name, out of full screen, and a tap follows ' +
     'its link', async () => {
  const game = await GamePage.open(held.browser);
  await game.page.setViewport({ width: 844, height: 390, isMobile: true, hasTouch: true });
  const { tap } = await touchScreen(game);
  await game.load(held.served.url);
  await tap(playButton);
  await sleep(500);
  assert.equal(await game.page.evaluate(() => document.fullscreenElement?.id), 'stage');
  await tap({ x: 320, y: 240 });  // the intro
  game.playBegan = await game.drawnFlips();
  const { flip, aim } = held.reference.swat;
  await game.waitForPlayFlip(flip - 2);
  await tap({ x: aim.x + swatterTip.x, y: aim.y + swatterTip.y });
  await game.waitForPlayFlip(flip + 25);
  assert.equal(await escapeButton(game), 'Give up');
  const giveUp = await middleOf(game.page, '#escape');
  await game.page.touchscreen.tap(giveUp.x, giveUp.y);
  await sleep(500);
  assert.equal(await escapeButton(game), '', 'Give up offered on the OK box');
  await tap({ x: 300, y: 370 });  // the OK picture
  await sleep(800);
  for (const letter of 'fon') {
    await game.page.keyboard.sendCharacter(letter);
    await sleep(400);
  }
  await rankReachable(game, 'rank-phone', (at) => game.page.touchscreen.tap(at.x, at.y));
  assert.deepEqual(game.errors, []);
});
