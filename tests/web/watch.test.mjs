// A ranked game's page, served by the leaderboard: opened at #flip=N it shows the desktop's
// headless frame N (but for the text's edges), and after `.` frame N+1; a step back, the end
// and the start again are each the desktop's; paused, neither the picture nor the sound goes on.
import assert from 'node:assert/strict';
import { readFileSync, writeFileSync } from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';

import { goldenDir, replayTool, scratch } from './support/builds.mjs';
import { launchBrowser, sleep } from './support/game_page.mjs';
import { serveFromLeaderboard } from './support/leaderboard.mjs';
import { picture } from './support/pictures.mjs';

let browser;
let served;
let frames;
const proof = readFileSync(path.join(goldenDir, 'whole_game.replay'), 'utf8').replace('\n',
  '\n# program: zimbrel 1.0.0 desktop\n# proves: GLD score 197530 swats 0,1,56,8,9,0,1,4 stage 10 flip 1224\n');
const lastFlip = 1236;  // the replay's end

before(async () => {
  frames = scratch('watch');
  const file = path.join(frames, 'game.replay');
  writeFileSync(file, proof);
  const played = replayTool('desktop', ['play', file, '--png', frames, '--every', '1']);
  assert.equal(played.code, 0, played.errors);
  served = await serveFromLeaderboard(['--review', 'off']);
  const sent = await fetch(`${served.root}api/v1/games`, { method: 'POST', body: proof });
  assert.equal(sent.status, 201, await sent.text());
  browser = await launchBrowser();
});

after(async () => {
  await browser?.close();
  served?.close();
});

const desktopFrame = (flip) => picture(path.join(frames, `flip-${String(flip).padStart(6, '0')}.png`));

// The page's canvas as it stands once the flip is shown and painted.
async function canvasAt(page, flip) {
  await page.waitForFunction((n) => document.getElementById('where').textContent.startsWith(`flip ${n} `),
    { timeout: 20000 }, flip);
  return page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(() => {
    const canvas = document.getElementById('canvas');
    resolve(Array.from(canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data));
  }))));
}

// The pixels that differ, in colour, from the desktop's frame by more than the edges of the
// head-up display's text do (the browser's FreeType rounds them up to 7 levels otherwise).
function differences(seen, flip) {
  const expected = desktopFrame(flip).data;
  let differ = 0;
  for (let i = 0; i < expected.length; i += 4) {
    if ([0, 1, 2].some((c) => Math.abs(seen[i + c] - expected[i + c]) > 7)) differ++;
  }
  return differ;
}

// The copies are packed in a worker; where a page may start none (a site's policy), on the page.
for (const [packed, refuseWorkers] of [['in a worker', false], ['on the page', true]]) {
test(`the game's page shows the desktop's frames exactly, forward, back, at the end and the start (copies packed ${packed})`, async () => {
  const page = await browser.newPage();
  await page.setViewport({ width: 1280, height: 800 });
  if (refuseWorkers) {
    await page.evaluateOnNewDocument(() => {
      window.Worker = function Refused() { throw new DOMException('refused by the test', 'SecurityError'); };
    });
  }
  const errors = [];
  page.on('pageerror', (e) => errors.push(String(e)));
  // Around 309 the game sets kerned text ("You did it !"), which the browser must set as the
  // desktop does; the page opens there from a copy of the program, after its run to the end.
  await page.goto(`${served.root}games/1#flip=309`);
  assert.match(await page.$eval('#game-facts', (p) => p.textContent), /^Rank 1 in the world's table · score 197,530 · stage 10 · /);
  const visits = [
    ['opened at #flip=309', 309, null],
    ['.', 310, '.'],
    [', twice', 308, ',,'],
    ['End', lastFlip, 'End'],
    ['Home', 1, 'Home'],
  ];
  for (const [what, flip, keys] of visits) {
    if (keys === ',,') {
      await page.keyboard.press(',');
      await page.keyboard.press(',');
    } else if (keys) {
      await page.keyboard.press(keys);
    }
    assert.equal(differences(await canvasAt(page, flip), flip), 0, `${what}: flip ${flip}`);
  }
  assert.deepEqual(errors, []);
  await page.close();
});
}

test('paused, the picture and the sound hold', async () => {
  const page = await browser.newPage();
  await page.evaluateOnNewDocument(() => {
    window.soundContexts = [];
    const Original = window.AudioContext;
    window.AudioContext = class extends Original {
      constructor(...args) {
        super(...args);
        window.soundContexts.push(this);
      }
    };
  });
  await page.goto(`${served.root}games/1#flip=300`);
  await canvasAt(page, 300);
  await page.keyboard.press('Space');  // plays, and the key lets the sound start
  await sleep(500);
  await page.keyboard.press('Space');
  const where = await page.$eval('#where', (p) => p.textContent);
  const [flip] = /[0-9]+/.exec(where).map(Number);
  assert.ok(flip > 310, `it played on to ${where}`);
  const held = await canvasAt(page, flip);
  await sleep(500);
  assert.deepEqual(await canvasAt(page, flip), held, 'the picture went on while paused');
  assert.equal(await page.$eval('#where', (p) => p.textContent), where);
  assert.deepEqual(await page.evaluate(() => window.soundContexts.map((c) => c.state)), ['suspended']);
  assert.equal(differences(held, flip), 0);
  await page.close();
});
