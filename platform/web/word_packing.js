// A packer of 32-bit words for the watching page's copies of the program (watch_controls.cpp):
// a copy is mostly the screen's surfaces, one word a pixel, whose rows repeat earlier words.
// The words become literals and repeats of earlier words; a repeat's length, its distance back
// (0: the last distance again) and the literals before it are counted in 7-bit varints in
// `heads`, the literals themselves kept as words. A pair of words is looked up where it was
// last seen, and the last distance is tried first. About an eighth of a copy, as small as the
// browser's deflate at its fastest, and unpacked in some 30 ms where its inflate through the
// browser's streams takes four times as long. Kept in a file of its own: the page starts a
// worker from this function's text, and the tests run it alone.
function packWords(words) {
  var count = words.length;
  var literals = new Uint32Array(count);
  var heads = new Uint8Array(2 * count + 32);
  var last = new Int32Array(65536).fill(-1);
  var literalsOut = 0;
  var headsOut = 0;
  var literal = 0;
  var distanceBefore = 0;
  function varint(value) {
    for (; value >= 128; value >>>= 7) heads[headsOut++] = (value & 127) | 128;
    heads[headsOut++] = value;
  }
  function put(end, length, distance) {
    varint(end - literal);
    varint(length);
    if (length > 0) varint(distance === distanceBefore ? 0 : distance);
    for (var word = literal; word < end; word += 1) literals[literalsOut++] = words[word];
  }
  var at = 0;
  function sameFrom(earlier) {
    var length = 0;
    while (at + length < count && words[earlier + length] === words[at + length]) length += 1;
    return length;
  }
  while (at + 1 < count) {
    var pair = (Math.imul(words[at], 0x9E3779B1) ^ Math.imul(words[at + 1], 0x85EBCA77)) >>> 16;
    var seen = last[pair];
    last[pair] = at;
    var length = distanceBefore > 0 && distanceBefore <= at ? sameFrom(at - distanceBefore) : 0;
    var distance = distanceBefore;
    if (seen >= 0 && at - seen !== distanceBefore) {
      var longer = sameFrom(seen);
      if (longer > length) {
        length = longer;
        distance = at - seen;
      }
    }
    if (length >= 2) {
      put(at, length, distance);
      distanceBefore = distance;
      at += length;
      literal = at;
    } else {
      at += 1;
    }
  }
  put(count, 0, 0);
  return {heads: heads.slice(0, headsOut), literals: literals.slice(0, literalsOut)};
}

function unpackWords(packed, count) {
  var words = new Uint32Array(count);
  var heads = packed.heads;
  var literals = packed.literals;
  var head = 0;
  var literal = 0;
  var out = 0;
  var distanceBefore = 0;
  function varint() {
    var value = 0;
    for (var shift = 0;; shift += 7) {
      var byte = heads[head++];
      value |= (byte & 127) << shift;
      if (!(byte >= 128)) return value >>> 0;  // the last byte, or past the end
    }
  }
  while (head < heads.length) {
    var many = varint();
    var length = varint();
    if (many + length > count - out) throw new Error("a packed copy longer than its " + count + " words");
    if (many > 32) {
      words.set(literals.subarray(literal, literal + many), out);
      literal += many;
      out += many;
    } else {
      for (var end = literal + many; literal < end;) words[out++] = literals[literal++];
    }
    if (length === 0) continue;
    var distance = varint() || distanceBefore;
    distanceBefore = distance;
    if (length > 32 && distance >= length) {
      words.copyWithin(out, out - distance, out - distance + length);
      out += length;
    } else {
      for (var stop = out + length; out < stop; out += 1) words[out] = words[out - distance];
    }
  }
  return words;
}
