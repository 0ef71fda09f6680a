// The game's pace on displays of other refresh rates (bench/RESULTS.md): the page's refresh
// driven by a timer of our own at each rate (its times those of performance.now), the flips
// drawn a second in play counted; the aim is the desktop's 60 at every rate.
//   node --test bench/measure-display-rates.mjs   (after tools/web/test)
// A figure of pace, so a measurement rather than a test: on a loaded machine the driving timers
// and the game share one thread, and the higher rates fall short first.
import path from 'node:path';
import { after, before, test } from 'node:test';

import { serve } from '../tools/web/serve.mjs';
import { webDir } from '../tests/web/support/builds.mjs';
import { GamePage, launchBrowser, sleep } from '../tests/web/support/game_page.mjs';

let browser;
let served;

before(async () => {
  served = await serve(path.join(webDir, 'site'));
  browser = await launchBrowser();
});

after(async () => {
  await browser?.close();
  served?.close();
});

// requestAnimationFrame answered at `hertz`: each refresh on its own grid of the page's time,
// one skipped when the timer comes past it, as a display's would be. The callbacks run from a
// message, not the timer, so that the game's own short timers are not stretched as nested ones.
function driveRefresh(hertz) {
  const period = 1000 / hertz;
  let waiting = [];
  let due = Math.ceil(performance.now() / period) * period;
  const channel = new MessageChannel();
  channel.port1.onmessage = () => {
    const callbacks = waiting;
    waiting = [];
    for (const callback of callbacks) callback(due);
    due += period;
    while (due <= performance.now()) due += period;
    schedule();
  };
  const schedule = () => {
    const left = due - performance.now();
    if (left > 0) setTimeout(schedule, Math.ceil(left));
    else channel.port2.postMessage(0);
  };
  window.requestAnimationFrame = (callback) => waiting.push(callback);
  schedule();
}

for (const hertz of [60, 75, 90, 144, 165]) {
  test(`flips a second in play at ${hertz} Hz`, async () => {
    const game = await GamePage.open(browser);
    await game.page.evaluateOnNewDocument(driveRefresh, hertz);
    await game.load(served.url);
    await game.placeMouse();
    await game.startPlay();
    await sleep(500);
    const count = () => game.page.evaluate(() => [window.drawnFlips, performance.now()]);
    const [flipsBefore, before] = await count();
    await sleep(4000);
    const [flipsAfter, after] = await count();
    const rate = (flipsAfter - flipsBefore) * 1000 / (after - before);
    console.log(`${hertz} Hz: ${rate.toFixed(2)} flips a second`);
    await game.page.close();
  });
}
