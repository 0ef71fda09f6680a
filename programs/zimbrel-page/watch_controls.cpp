#include "programs/zimbrel-page/watch_controls.h"

#include <emscripten.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "game/play_state.h"
#include "globals/current_screen.h"
#include "platform/sdl/audio_mixer.h"
#include "platform/seams/flip_observer.h"
#include "platform/seams/headless.h"
#include "platform/seams/rules_clock.h"
#include "replay/replay_player.h"

namespace {

// The sound of the time since the last flip, by the virtual clock, as the desktop's capture
// takes it.
struct SoundTaken {
  bool started = false;
  uint32_t startMs = 0;
  uint64_t frames = 0;
};
SoundTaken sound;

std::vector<int16_t> SoundSinceLastFlip() {
  const uint32_t now = HeadlessClockNow();
  if (!sound.started) {
    sound = {true, now, 0};
    return {};
  }
  const uint64_t due = uint64_t{now - sound.startMs} * static_cast<uint64_t>(AudioMixerRate()) / 1000;
  const uint64_t frames = std::min<uint64_t>(due - std::min(due, sound.frames), 1 << 16);
  sound.frames += frames;
  return AudioCaptureMix(static_cast<int>(frames));
}

EM_JS(void, TellPageWatchRange, (double first, double last), {
  Module.watchRange(first, last);
});

// The flip's picture (0x00RRGGBB words) and sound (stereo 16-bit frames), where the page may
// read them until the game goes on; and the picture's place, which a copy of memory keeps.
EM_JS(void, ShowPageFlip, (const uint32_t* pixels, int width, int height, const int16_t* samples, int frames), {
  Module.watchShow(HEAPU32.subarray(pixels >> 2, (pixels >> 2) + width * height), width, height,
                   HEAP16.subarray(samples >> 1, (samples >> 1) + 2 * frames), pixels);
});

// What the page needs to put the program back as it stood at a flip: while the game waits for
// its turn every record of it lies in memory (Asyncify has unwound the stack there too), but
// for the C stack's pointer, where Asyncify keeps the unwound stack, and the files the game
// writes (its table, in the working folder). A copy keeps those, and of memory the 64 KiB
// chunks that differ from the first copy, which keeps it whole. A copy is mostly the screen's
// surfaces, some 8 MB, and ten minutes of copies held over a gigabyte: each is packed in a
// worker beside the page (word_packing.js) and unpacked on the page when put back. Until its
// packing comes back a copy is kept as it is; the last one unpacked is kept too, for steps
// back from the same copy.
EM_JS(void, LendPageTheMachinery, (const char* folder), {
  var chunkBytes = 65536;
  var place = UTF8ToString(folder);
  var whole = null;
  var held = 0;  // bytes the copies hold, for the page's benchmark
  var packer = null;
  var waiting = new Map();  // copies being packed, by their number
  var numbered = 0;
  try {
    packer = new Worker(URL.createObjectURL(new Blob([
      "var packWords = " + packWords.toString() + ";" +
      "onmessage = function(event) {" +
      "  var packed = packWords(new Uint32Array(event.data.bytes.buffer));" +
      "  postMessage({number: event.data.number, packed: packed}, [packed.heads.buffer, packed.literals.buffer]);" +
      "};"], {type: "text/javascript"})));
    packer.onmessage = function(event) {
      var copy = waiting.get(event.data.number);
      waiting.delete(event.data.number);
      packed(copy, event.data.packed);
    };
  } catch (refused) {
    packer = null;  // packed here, then
  }
  function packed(copy, words) {
    held += words.heads.length + words.literals.byteLength - copy.raw.length;
    copy.packed = words;
    copy.raw = null;
  }
  var unpacked = {copy: null, bytes: null};
  function files() {
    var kept = [];
    FS.readdir(place).forEach(function(name) {
      if (FS.isFile(FS.stat(place + "/" + name).mode)) kept.push({name: name, bytes: FS.readFile(place + "/" + name)});
    });
    return kept;
  }
  function keep(flip, pixels, words) {
    var memory = HEAPU8;
    var copy = {flip: flip, pixels: pixels, words: words, stack: stackSave(), unwound: Asyncify.currData,
                chunks: [], raw: null, packed: null, files: files()};
    if (whole === null) {
      whole = memory.slice();
      held += whole.length;
      copy.raw = new Uint8Array(0);
      return copy;
    }
    var now = new Int32Array(memory.buffer, 0, memory.length >> 2);
    var then = new Int32Array(whole.buffer);
    var bytes = 0;
    for (var at = 0; at < memory.length; at += chunkBytes) {
      var end = Math.min(at + chunkBytes, memory.length);
      var same = end <= whole.length;
      for (var word = at >> 2; same && word < end >> 2; word += 1) same = now[word] === then[word];
      if (!same) {
        copy.chunks.push({at: at, length: end - at});
        bytes += end - at;
      }
    }
    copy.raw = new Uint8Array(bytes);
    var from = 0;
    copy.chunks.forEach(function(chunk) {
      copy.raw.set(memory.subarray(chunk.at, chunk.at + chunk.length), from);
      from += chunk.length;
    });
    held += bytes;
    if (packer === null) {
      packed(copy, packWords(new Uint32Array(copy.raw.buffer)));
    } else {
      numbered += 1;
      waiting.set(numbered, copy);
      packer.postMessage({number: numbered, bytes: copy.raw});
    }
    return copy;
  }
  function changedBytes(copy) {
    if (copy.raw !== null) return copy.raw;
    if (unpacked.copy !== copy) {
      var count = copy.chunks.reduce(function(sum, chunk) { return sum + chunk.length; }, 0) >> 2;
      unpacked = {copy: copy, bytes: new Uint8Array(unpackWords(copy.packed, count).buffer)};
    }
    return unpacked.bytes;
  }
  function putBack(copy) {
    var changed = changedBytes(copy);
    HEAPU8.set(whole);
    var from = 0;
    copy.chunks.forEach(function(chunk) {
      HEAPU8.set(changed.subarray(from, from + chunk.length), chunk.at);
      from += chunk.length;
    });
    stackRestore(copy.stack);
    Asyncify.currData = copy.unwound;
    FS.readdir(place).forEach(function(name) {
      if (FS.isFile(FS.stat(place + "/" + name).mode)) FS.unlink(place + "/" + name);
    });
    copy.files.forEach(function(file) { FS.writeFile(place + "/" + file.name, file.bytes); });
    return HEAPU32.subarray(copy.pixels >> 2, (copy.pixels >> 2) + copy.words);
  }
  Module.watchMachinery = {keep: keep, putBack: putBack, held: function() { return held; }};
});

// The page's word to go on. While the game waits here every record of it lies in memory
// (Asyncify has unwound the stack there too): the page may keep a copy, or put an earlier one
// back, and the game goes on from that flip.
EM_ASYNC_JS(void, AwaitPagesTurn, (double flip, double clockMs, int stage, int playing), {
  await Module.watchFlipped(flip, clockMs, stage, !!playing);
});

void OnYield(YieldPoint point) {
  if (point != YieldPoint::Flip) return;
  const CapturedFrame& frame = HeadlessLastFrame();
  const std::vector<int16_t> samples = SoundSinceLastFlip();
  ShowPageFlip(frame.pixels.data(), frame.width, frame.height, samples.data(),
               static_cast<int>(samples.size() / 2));
  AwaitPagesTurn(static_cast<double>(PresentedFlipCount()), static_cast<double>(RulesTickLast()), Stage,
                 CurrentScreen == ScreenPlay ? 1 : 0);
}

}  // namespace

void WatchWithControls(Replay replay) {
  uint64_t last = replay.endFlip.value_or(0);
  for (const ReplayLine& line : replay.lines) last = std::max(last, line.at.flip);
  TellPageWatchRange(static_cast<double>(replay.start ? replay.start->flip : 0), static_cast<double>(last));
  LendPageTheMachinery(std::filesystem::current_path().c_str());
  HeadlessEnable();
  HeadlessSetYieldHandler(OnYield);
  ReplayPlayerStart(std::move(replay));
}
