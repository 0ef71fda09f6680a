// A game kept while the leaderboard cannot be reached waits in IndexedDB, and is sent when the
// network comes back, or at the next opening of the page: the leaderboard ranks it, the page
// says so, and it waits no more.
import assert from 'node:assert/strict';
import { test } from 'node:test';

import { GamePage, sleep, until } from './support/game_page.mjs';
import { leaderboardAndBrowser } from './support/leaderboard.mjs';

const held = leaderboardAndBrowser();

// The proofs in a folder (replays/: kept; replays/unsent/: waiting to be sent), as IndexedDB
// holds the page's save folder.
function storedProofs(game, folder) {
  return game.page.evaluate((prefix) => new Promise((resolve, reject) => {
    const open = indexedDB.open('/save');
    open.onerror = () => reject(open.error);
    open.onsuccess = () => {
      const read = open.result.transaction('FILE_DATA').objectStore('FILE_DATA').getAllKeys();
      read.onsuccess = () => resolve(read.result.filter((key) => key.startsWith(prefix) &&
        !key.slice(prefix.length).includes('/') && key.endsWith('.replay')));
      read.onerror = () => reject(read.error);
    };
  }), `/save/${folder}/`);
}

const rankLine = (game) => game.page.$eval('#rank', (p) => (p.hidden ? '' : p.textContent));
const worldsTable = async () => (await fetch(`${held.served.root}api/v1/top`)).json();

test('a game kept offline is sent and ranked at the next opening of the page', async () => {
  const offline = await GamePage.open(held.browser);
  await offline.load(held.served.url);
  await offline.page.setOfflineMode(true);
  await offline.playToNameEntry(held.reference);
  await offline.type(['o', 'f', 'f']);
  let kept = [];
  for (let i = 0; i < 50 && kept.length === 0; i++) {
    await sleep(100);
    kept = await storedProofs(offline, 'replays');
  }
  assert.equal(kept.length, 1, 'the game is not kept in IndexedDB');
  assert.equal((await worldsTable()).total, 0);
  await offline.page.close();

  const next = await GamePage.open(held.browser);
  await next.load(held.served.url);
  let line = '';
  for (let i = 0; i < 100 && !line.startsWith('Your game ranks'); i++) {
    await sleep(100);
    line = await rankLine(next);
  }
  assert.equal(line, 'Your game ranks 1 of 1 in the world\'s table.', held.served.log());
  const top = await worldsTable();
  assert.deepEqual([top.total, top.games[0].name, top.games[0].score], [1, 'OFF', held.reference.score]);
  // Taken out of what waits once ranked, in a turn at the folder of its own; kept as ever.
  let waiting = await storedProofs(next, 'replays/unsent');
  for (let i = 0; i < 30 && waiting.length > 0; i++) {
    await sleep(100);
    waiting = await storedProofs(next, 'replays/unsent');
  }
  assert.deepEqual(waiting, []);
  assert.deepEqual(await storedProofs(next, 'replays'), kept);
  assert.deepEqual(next.errors, []);
});

test('a game kept offline is sent once the network is back, and the page says meanwhile that it ' +
     'waits', async () => {
  const game = await GamePage.open(held.browser);
  await game.load(held.served.url);
  await game.page.setOfflineMode(true);
  await game.playToNameEntry(held.reference);
  await game.type(['n', 'e', 't']);
  assert.match(await until(() => rankLine(game), (line) => line !== '', 5000),
    /^A game waits to be sent to the world's table: the network cannot reach it/);
  await game.page.setOfflineMode(false);
  assert.match(await until(() => rankLine(game), (line) => line.startsWith('Your game ranks'), 8000),
    /^Your game ranks [12] of 2 in the world's table\.$/, held.served.log());
  assert.deepEqual(game.errors, []);
});
