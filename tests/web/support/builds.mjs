// Where the two builds are, and running either replay tool in the desktop's runnable folder
// (which holds gfx/ and snd/), as a player would, with no sound card.
import { spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

export const sourceDir = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../..');
export const webDir = process.env.ZIMBREL_WEB_DIR ?? path.join(sourceDir, 'build/web');
export const runDir = path.join(webDir, 'native/run');
export const goldenDir = path.join(sourceDir, 'tests/replays');

const tools = {
  desktop: [path.join(runDir, 'zimbrel-replay')],
  web: [process.execPath, path.join(webDir, 'replay/zimbrel-replay.js')],
};

// A fresh folder for one test's outputs.
export function scratch(name) {
  return mkdtempSync(path.join(tmpdir(), `zimbrel-web-${name}-`));
}

// Runs the named build's tool with these arguments; its exit code and what it said on its
// standard output and error.
export function replayTool(build, args) {
  const [command, ...first] = tools[build];
  const run = spawnSync(command, [...first, ...args], {
    cwd: runDir,
    env: { ...process.env, SDL_AUDIODRIVER: 'dummy' },
    encoding: 'utf8',
    timeout: 120000,
  });
  return { code: run.status, output: run.stdout ?? '', errors: run.stderr ?? String(run.error) };
}

export const bytes = (file) => readFileSync(file);
