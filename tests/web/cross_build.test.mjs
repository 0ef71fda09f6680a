// Same game, two builds: every golden replay played by the web build's replay tool under
// Node.js gives, byte for byte, the desktop tool's state lines and Highscore.dat; so does a
// whole game of the scripted player, down to the replay it writes.
import assert from 'node:assert/strict';
import { readdirSync } from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';

import { bytes, goldenDir, replayTool, scratch } from './support/builds.mjs';

// The first line on which two runs' state lines part, for the failure's message.
function firstDifference(desktop, web) {
  const a = desktop.toString().split('\n');
  const b = web.toString().split('\n');
  const line = a.findIndex((text, i) => text !== b[i]);
  return `line ${line + 1}\n  desktop: ${a[line]}\n  web:     ${b[line] ?? '(no more lines)'}`;
}

function assertSameRun(outputs, files) {
  for (const file of files) {
    const desktop = bytes(path.join(outputs.desktop, file));
    const web = bytes(path.join(outputs.web, file));
    assert.ok(desktop.length > 0, `the desktop wrote no ${file}`);
    if (file.endsWith('.dat')) {
      assert.deepEqual(web, desktop, `${file} differs`);
    } else {
      assert.ok(web.equals(desktop), `${file} differs first at ${firstDifference(desktop, web)}`);
    }
  }
}

function runBoth(name, argsFor) {
  const outputs = {};
  for (const build of ['desktop', 'web']) {
    outputs[build] = scratch(`${name}-${build}`);
    const run = replayTool(build, argsFor(outputs[build]));
    assert.equal(run.code, 0, `${build}: ${run.errors}`);
  }
  return outputs;
}

const goldens = readdirSync(goldenDir).filter((f) => f.endsWith('.replay')).sort();

test('there are golden replays to play', () => assert.ok(goldens.length >= 5));

for (const golden of goldens) {
  test(`golden replay ${golden}: the same state lines and Highscore.dat`, () => {
    const outputs = runBoth(golden, (out) => [
      'play', path.join(goldenDir, golden),
      '--lines', path.join(out, 'game.lines'), '--highscores', path.join(out, 'Highscore.dat'),
    ]);
    assertSameRun(outputs, ['game.lines', 'Highscore.dat']);
    // and both are the golden's own lines
    const goldenLines = bytes(path.join(goldenDir, golden.replace(/\.replay$/, '.lines')));
    assert.ok(bytes(path.join(outputs.web, 'game.lines')).equals(goldenLines));
  });
}

test('a whole game of the scripted player: the same lines, table and replay', () => {
  const outputs = runBoth('autoplay', (out) => [
    'autoplay', path.join(out, 'game.replay'), '--name', 'WEB',
    '--lines', path.join(out, 'game.lines'), '--highscores', path.join(out, 'Highscore.dat'),
  ]);
  assertSameRun(outputs, ['game.lines', 'Highscore.dat', 'game.replay']);
  assert.ok(bytes(path.join(outputs.web, 'Highscore.dat')).includes('WEB'));
});
