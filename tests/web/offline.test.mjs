// The page installs and plays without the network: Chromium finds nothing in the way of
// installing it, the service worker keeps this build's files under one name, and with the
// network gone a reload shows the title and starts a game.
import assert from 'node:assert/strict';
import path from 'node:path';
import { after, before, test } from 'node:test';

import { serve } from '../../tools/web/serve.mjs';
import { webDir } from './support/builds.mjs';
import { GamePage, launchBrowser, sleep } from './support/game_page.mjs';
import { keep, picture } from './support/pictures.mjs';

let browser;
let served;
let game;

before(async () => {
  served = await serve(path.join(webDir, 'site'));
  browser = await launchBrowser();
  game = await GamePage.open(browser);
});

after(async () => {
  await browser?.close();
  served?.close();
});

test('a first visit leaves the page installable, its files kept under this build\'s name', async () => {
  await game.load(served.url);
  const kept = await game.page.evaluate(async () => {
    await navigator.serviceWorker.ready;
    const names = await caches.keys();
    const files = names.length === 1 ? (await (await caches.open(names[0])).keys()) : [];
    return { names, files: files.map((request) => new URL(request.url).pathname) };
  });
  assert.equal(kept.names.length, 1, kept.names.join(' '));
  assert.match(kept.names[0], /^zimbrel-[0-9a-f]{12}$/);
  for (const file of ['/', /\/zimbrel\.[0-9a-f]{12}\.wasm$/, /\/zimbrel\.[0-9a-f]{12}\.data$/,
    /\/page\.[0-9a-f]{12}\.js$/, '/manifest.webmanifest', /\/icon-512\.[0-9a-f]{12}\.png$/]) {
    assert.ok(kept.files.some((f) => (typeof file === 'string' ? f === file : file.test(f))),
      `${file} is not kept: ${kept.files.join(' ')}`);
  }
  const client = await game.page.target().createCDPSession();
  const { installabilityErrors } = await client.send('Page.getInstallabilityErrors');
  assert.deepEqual(installabilityErrors, []);
});

test('without the network a reload shows the title, and Play starts a game', async () => {
  await game.page.setOfflineMode(true);
  await game.load(served.url);
  keep(picture(await game.page.screenshot({ type: 'png' })), 'offline-title');
  await game.placeMouse();
  await game.startPlay();
  await sleep(300);
  assert.equal(await game.page.$eval('#escape', (b) => (b.hidden ? '' : b.textContent)), 'Give up');
  keep(picture(await game.page.screenshot({ type: 'png' })), 'offline-play');
  assert.deepEqual(game.errors, []);
});
