// The page when things go wrong: a file of the game missing or stalling half way, and a browser
// that keeps no storage for the page or never answers for it. Each says so within its bound
// instead of leaving a black picture.
import assert from 'node:assert/strict';
import path from 'node:path';
import { after, before, test } from 'node:test';

import { serve } from '../../tools/web/serve.mjs';
import { webDir } from './support/builds.mjs';
import { launchBrowser, sleep } from './support/game_page.mjs';

const site = path.join(webDir, 'site');
const stallBound = 10000;    // a file that brings no byte for this long has stalled
const storageBound = 3000;   // IndexedDB that does not answer within this is refused

let browser;
before(async () => { browser = await launchBrowser(); });
after(async () => browser?.close());

// The page's state: the fault in the picture's place, the notice under it, the retry, whether
// the game runs.
const lines = (page) => page.evaluate(() => {
  const shown = (id) => (document.getElementById(id).hidden ? '' : document.getElementById(id).textContent);
  return {
    fault: shown('fault') && document.getElementById('fault-line').textContent,
    notice: shown('notice'),
    retry: !document.getElementById('retry').hidden,
    canvasShown: !document.getElementById('canvas').hidden,
    running: typeof Module !== 'undefined' && Module.calledRun === true,
  };
});

// Visits the page served with these options; returns its lines once `done` holds for them or
// the time is up, and how long that took.
async function visit(options, done, within, prepare = async () => {}) {
  const served = await serve(site, options);
  const page = await browser.newPage();
  try {
    await prepare(page);
    const start = Date.now();
    await page.goto(served.url);
    let seen = await lines(page);
    while (!done(seen) && Date.now() - start < within) {
      await sleep(200);
      seen = await lines(page);
    }
    return { ...seen, after: Date.now() - start, page, served };
  } catch (error) {
    served.close();
    throw error;
  }
}

async function leave(visited) {
  await visited.page.close();
  visited.served.close();
}

for (const [file, what] of [['zimbrel.data', /pictures and sounds \(zimbrel\.[0-9a-f]{12}\.data\)/],
  ['zimbrel.js', /program \(zimbrel\.[0-9a-f]{12}\.js\)/]]) {
  test(`served without ${file}, the page says which file in the picture's place`, async () => {
    const visited = await visit({ leaveOut: [file] }, (seen) => seen.fault !== '', 5000);
    await leave(visited);
    assert.match(visited.fault, what);
    assert.match(visited.fault, /404/);
    assert.equal(visited.canvasShown, false);
  });
}

test('a data file that stalls half way is said within the bound, and a retry plays', async () => {
  const options = { stall: ['zimbrel.data'] };
  const visited = await visit(options, (seen) => seen.fault !== '', stallBound + 5000);
  try {
    assert.match(visited.fault, /pictures and sounds .* stopped coming: [\d.]+ of 1\.3 MB came, then nothing for 10 s/);
    assert.ok(visited.after >= stallBound && visited.after < stallBound + 3000,
      `said after ${visited.after} ms`);
    assert.equal(visited.retry, true);
    options.stall.splice(0);  // the network is back
    await visited.page.click('#retry');
    let seen;
    for (let i = 0; i < 50 && !seen?.running; i++) {
      await sleep(200);
      seen = await lines(visited.page);
    }
    assert.equal(seen.running, true);
    assert.equal(seen.canvasShown, true);
  } finally {
    await leave(visited);
  }
});

const storageCases = [
  ['refuses storage', () => {
    Object.defineProperty(window, 'indexedDB', { get() { throw new Error('refused'); } });
  }],
  ['never answers for its storage', () => {
    IDBFactory.prototype.open = () => ({});  // a request whose answer never comes
  }],
];
for (const [browserDoes, withoutStorage] of storageCases) {
  test(`where the browser ${browserDoes}, the game plays and says once, within ` +
       `${storageBound / 1000} s, that scores are not kept`, async () => {
    const visited = await visit({}, (seen) => seen.running && seen.notice !== '', storageBound + 3000,
      (page) => page.evaluateOnNewDocument(withoutStorage));
    await leave(visited);
    assert.equal(visited.fault, '');
    assert.match(visited.notice, /scores will not be kept/);
    assert.equal(visited.running, true);
    assert.equal(visited.canvasShown, true);
    assert.ok(visited.after < storageBound + 2000, `said after ${visited.after} ms`);
  });
}
