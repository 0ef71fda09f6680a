// The desktop's headless frames of the moments the browser scenarios reach: a short game
// played by a replay written here, to the same cursor positions the page's mouse moves give.
// A first run finds the moment and place where one swat hits one fly of stage 1 whatever
// frame, within a few, it starts on; the second plays that swat, gives up, types a name.
import { readFileSync, writeFileSync } from 'node:fs';
import path from 'node:path';

import { replayTool, scratch } from './builds.mjs';

export const playButton = { x: 528, y: 350 };
export const okButton = { x: 280, y: 336 };
export const highscoresButton = { x: 512, y: 394 };
export const playStartsAfter = 32;  // the intro's click is read before flip 33
export const slack = 5;             // frames the page may be early or late by

// One mouse count moves the cursor two pixels.
const counts = (from, to) => `${(to.x - from.x) / 2} ${(to.y - from.y) / 2}`;

function stateLines(file) {
  return readFileSync(file, 'utf8').trim().split('\n').map((line) => {
    const fields = Object.fromEntries(line.split(' ').map((f) => f.split('=')));
    fields.flies = fields.flies === '-' ? [] : fields.flies.split(';').map((fly) => {
      const [index, place] = fly.split(':');
      const [x, y] = place.split(',').map(Number);
      return { index: Number(index), x, y };
    });
    return fields;
  });
}

function run(name, lines, outputs) {
  const folder = scratch(name);
  const replay = path.join(folder, 'game.replay');
  writeFileSync(replay, ['zimbrel-replay 1', ...lines, ''].join('\n'));
  const result = replayTool('desktop', ['play', replay, '--lines', path.join(folder, 'game.lines'),
    ...outputs(folder)]);
  if (result.code !== 0) throw new Error(`${name}: ${result.errors}`);
  return { folder, lines: stateLines(path.join(folder, 'game.lines')) };
}

const toPlay = [
  `20 0 mouse ${counts({ x: 0, y: 0 }, playButton)} 0 0`,
  '30 0 mouse 0 0 1 0', '30 1 mouse 0 0 0 0',
  `${playStartsAfter} 0 mouse 0 0 1 0`, `${playStartsAfter} 1 mouse 0 0 0 0`,
];

// Inside the swatter's reach of a fly at (x, y), tested on the cursor's corner.
const reaches = (aim, fly) =>
  aim.x >= fly.x - 44 && aim.x <= fly.x + 10 && aim.y >= fly.y - 57 && aim.y <= fly.y + 13;

// A swat's start and aim that meet one fly only, for every start within the slack.
function findSwat(lines) {
  const frames = (flip) => lines.slice(flip - 1 - slack, flip - 1 + 10 + slack);
  for (let flip = 60; flip < 140; flip += 5) {
    for (const fly of lines[flip - 1].flies) {
      const places = frames(flip).map((l) => l.flies.find((f) => f.index === fly.index));
      if (places.some((p) => !p)) continue;
      const aim = {
        x: 2 * Math.round((Math.max(...places.map((p) => p.x)) - 17) / 2),
        y: 2 * Math.round((Math.max(...places.map((p) => p.y)) - 22) / 2),
      };
      const others = frames(flip).flatMap((l) => l.flies.filter((f) => f.index !== fly.index));
      if (places.every((p) => reaches(aim, p)) && !others.some((f) => reaches(aim, f))) {
        return { flip, aim };
      }
    }
  }
  throw new Error('no swat of stage 1 meets one fly alone');
}

// The frames (PNG files) of each moment, and the swat the page is to make.
export function referenceGame() {
  const first = run('reference-stage', [...toPlay, '200 end'], () => []);
  const swat = findSwat(first.lines);
  const s = swat.flip;
  const typed = s + 120;
  const game = run('reference-game', [
    ...toPlay,
    `${s - 1} 0 mouse ${counts(playButton, swat.aim)} 0 0`,
    `${s} 0 mouse 0 0 1 0`, `${s + 1} 0 mouse 0 0 0 0`,
    `${s + 40} 0 keys 1`, `${s + 40} 1 keys`,
    `${s + 60} 0 mouse ${counts(swat.aim, okButton)} 0 0`,
    `${s + 70} 0 mouse 0 0 1 0`, `${s + 70} 1 mouse 0 0 0 0`,
    `${typed} 0 keys 17`, `${typed} 2 keys`,
    `${typed + 10} 0 keys 18`, `${typed + 10} 2 keys`,
    `${typed + 20} 0 keys 48`, `${typed + 20} 2 keys`,
    `${typed + 80} end`,
  ], (folder) => ['--png', path.join(folder, 'frames'), '--every', '1']);
  const frame = (flip) => path.join(game.folder, 'frames', `flip-${String(flip).padStart(6, '0')}.png`);
  const score = Number(game.lines[s + 30].score);
  if (!(score > 0)) throw new Error(`the reference swat at flip ${s} scored ${score}`);
  return {
    swat,
    score,
    title: frame(10),
    intro: frame(playStartsAfter),
    swatScored: frame(s + 30),
    okBox: frame(s + 50),
    nameEntry: frame(typed - 5),
    nameTyped: frame(typed + 40),
  };
}
