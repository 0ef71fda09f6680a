// The desktop build's zimbrel-leaderboard serving the page (--site), on 127.0.0.1 at a free
// port with a SQLite file of its own, as ./play --web starts it.
import { spawn } from 'node:child_process';
import path from 'node:path';
import { after, before } from 'node:test';

import { runDir, scratch, webDir } from './builds.mjs';
import { launchBrowser } from './game_page.mjs';
import { referenceGame } from './reference_game.mjs';

// Resolves once it says where it listens (20 s at most): its root, the page's address, its log
// so far and a close that stops it. `options` are the server's own further options (a test
// that ranks the scripted player's games turns the review off, as the desktop's tests do).
export function serveFromLeaderboard(options = []) {
  const folder = scratch('leaderboard');
  const server = spawn(path.join(runDir, 'zimbrel-leaderboard'), [
    '--listen', '127.0.0.1:0', '--database', `sqlite:${path.join(folder, 'leaderboard.sqlite')}`,
    '--site', path.join(webDir, 'site'), ...options,
  ], { cwd: folder, stdio: ['ignore', 'ignore', 'pipe'] });
  let log = '';
  return new Promise((resolve, reject) => {
    const giveUp = setTimeout(() => {
      server.kill();
      reject(new Error(`zimbrel-leaderboard did not start within 20 s: ${log}`));
    }, 20000);
    server.on('exit', (code) => reject(new Error(`zimbrel-leaderboard ended (${code}): ${log}`)));
    server.stderr.setEncoding('utf8').on('data', (text) => {
      log += text;
      const listening = /listening on (http:\/\/127\.0\.0\.1:\d+\/)/.exec(log);
      if (!listening) return;
      clearTimeout(giveUp);
      resolve({
        root: listening[1],
        url: `${listening[1]}play/`,
        log: () => log,
        close: () => server.kill(),
      });
    });
  });
}

// A test file's leaderboard and browser, started before its tests and stopped after them, and
// the reference game its pages play: filled in once its tests run.
export function leaderboardAndBrowser() {
  const held = {};
  before(async () => {
    held.reference = referenceGame();
    held.served = await serveFromLeaderboard();
    held.browser = await launchBrowser();
  });
  after(async () => {
    await held.browser?.close();
    held.served?.close();
  });
  return held;
}
