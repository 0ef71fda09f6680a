// The watching page's packer of the program's copies, alone: every kind of word stream comes
// back word for word (a copy put back wrong shows a wrong game from there on).
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';
import { fileURLToPath } from 'node:url';

const source = readFileSync(path.join(path.dirname(fileURLToPath(import.meta.url)),
  '../../platform/web/word_packing.js'), 'utf8');
const { packWords, unpackWords } = new Function(`${source}; return { packWords, unpackWords };`)();

let seed = 1;
const noise = () => { seed = (Math.imul(seed, 1103515245) + 12345) >>> 0; return seed; };
const streams = {
  empty: [],
  'one word': [7],
  'a pair': [7, 7],
  'one word repeated': new Array(5000).fill(0xffffffff),
  noise: Array.from({ length: 20000 }, noise),
  'as many literals as a byte of a count holds, and one more': Array.from({ length: 128 }, noise),
  'three values': Array.from({ length: 20000 }, () => noise() % 3),
  // rows of a picture: long repeats, far and near, and repeats overlapping themselves
  rows: Array.from({ length: 70000 }, (_, i) => (i % 640 < 300 ? 0x00336699 : (i * 7) % 641)),
  'a stretch again, and its last distance': [...Array.from({ length: 40 }, (_, i) => i), 99,
    ...Array.from({ length: 40 }, (_, i) => i), 98, ...Array.from({ length: 40 }, (_, i) => i)],
};

test('every stream is unpacked to the words packed, and a picture packs small', { timeout: 20000 }, () => {
  for (const [name, list] of Object.entries(streams)) {
    const words = Uint32Array.from(list);
    const packed = packWords(words);
    assert.deepEqual(unpackWords(packed, words.length), words, name);
    if (name === 'rows') assert.ok(packed.heads.length + 4 * packed.literals.length < words.byteLength / 8, name);
  }
});
