// In a browser nothing happens while the game's code runs: no events come, nothing is shown.
// Each wait hands control back to the page (through Asyncify) and resumes where it was.
//
// Flips keep a beat of 1/60 s, whatever the display's refresh: a frame's first rest, whatever
// it rests for (a device read that found nothing new, the same millisecond read twice), lasts
// until its flip's beat, and the flip that follows is shown at the first refresh at or after
// it. So 75, 90, 144 or 165 Hz displays all show 60 flips a second, as 60 and 120 Hz do. A
// late frame moves the beat on rather than hurrying the next ones to catch up: the rules clock
// then never advances less than 1/60 s a flip, as a replay's check demands.
//
// The rest waits for the beat on a timer, not for a refresh, which may come after the beat when
// the frame's drawing took a while. It never spins: a spin to the beat cost a fifth of a core
// at 60 flips a second. A timer that ends late costs no pace, since the beat is kept whole and
// the next rest is the shorter. A hidden page waits for a refresh, which never comes while it
// is hidden: the game holds there.
#include "platform/sdl/waits.h"

#include <SDL.h>
#include <emscripten.h>

#include <algorithm>
#include <cmath>

#include "platform/seams/headless.h"
#include "platform/seams/rules_clock.h"

namespace {

constexpr double kFlipMilliseconds = 1000.0 / 60.0;
// The longest piece of the game's start between two hand-overs to the page: a phone four times
// slower still answers within 50 ms.
constexpr Uint64 kStartPieceMilliseconds = 10;

double beat = 0;  // the tick count the next flip is due at
Uint64 beatReached = 0;  // the tick count the frame's wait for its beat ended at
bool restedSinceFlip = false;
// The replay's clock check, kept as it keeps it: the highest 60 × reading − 1000 × flips of the
// rules' readings so far. A later reading must not fall more than a flip and a millisecond
// (1060) below it.
int64_t flips = 0;
int64_t highest = 0;
bool read = false;
Uint64 startPieceBegan = 0;  // the tick count the page last had control back at, in the start

EM_ASYNC_JS(void, WaitForAnimationFrame, (), {
  await new Promise(function(resolve) { requestAnimationFrame(resolve); });
});
EM_JS(bool, PageHidden, (), { return document.hidden; });

// A timer set from a timer's callback, as each of the game's would be, is held to 4 ms once a
// few are nested; one set from a message is not, so a millisecond's wait lasts about that.
// One channel serves every wait: the game waits for one thing at a time.
EM_ASYNC_JS(void, SleepOnTimer, (double milliseconds), {
  var channel = Module.sleepChannel;
  if (!channel) {
    channel = Module.sleepChannel = new MessageChannel();
    channel.port1.onmessage = function() { setTimeout(channel.wake, channel.milliseconds); };
  }
  await new Promise(function(resolve) {
    channel.wake = resolve;
    channel.milliseconds = milliseconds;
    channel.port2.postMessage(null);
  });
});

// The ticks count whole milliseconds, so the milliseconds left rounded up end at or after the
// tick: one timer, under a millisecond more than the wait (the loop is for a timer that ends
// early).
void WaitUntil(double tick) {
  for (double left = tick - static_cast<double>(SDL_GetTicks64()); left > 0;
       left = tick - static_cast<double>(SDL_GetTicks64())) {
    SleepOnTimer(std::ceil(left));
  }
}

void WaitForBeat() {
  restedSinceFlip = true;
  if (PageHidden()) WaitForAnimationFrame();  // none comes until the page is shown again
  WaitUntil(beat);
  beatReached = SDL_GetTicks64();
}

}  // namespace

// After the beat, a reading that finds the same millisecond again (the rules' own readings) is
// not a wait: it rests no more.
void RestWhilePolling() {
  if (!restedSinceFlip) WaitForBeat();
}

// After the beat, a loop waiting for the player must still hand the page control, or no event
// would ever come.
void RestBetweenReads() {
  if (restedSinceFlip) {
    emscripten_sleep(1);
  } else {
    WaitForBeat();
  }
}

void PaceRealFlip() {
  if (!restedSinceFlip) WaitForBeat();  // a frame that never rested still keeps the beat
  restedSinceFlip = false;
  // A frame that missed its beat by a whole flip moves the beat on; one a timer's jitter made a
  // little late does not, or every such frame would cost the pace (the floor below keeps the
  // clock honest either way).
  if (static_cast<double>(beatReached) >= beat + kFlipMilliseconds) beat = static_cast<double>(beatReached);
  beat += kFlipMilliseconds;
  const int64_t lastRead = RulesTickLastLive();
  if (lastRead != 0) {
    highest = read ? std::max(highest, 60 * lastRead - 1000 * flips) : 60 * lastRead - 1000 * flips;
    read = true;
  }
  ++flips;
  // The next frame's start, its first reading of the clock, must not find the millisecond of
  // this frame's last one: resting there for the beat, before the frame had started, would
  // leave the whole of its 10 ms still to wait after it. Nor may any reading from here on fall
  // below the clock check's floor (only a frame whose rules read the clock late makes it bind).
  const double earliest = read ? std::ceil(static_cast<double>(highest - 1060 + 1000 * flips) / 60.0) : 0;
  WaitUntil(std::max(earliest, static_cast<double>(SDL_GetTicks64() + 1)));
}

// Headless (a watched game played to a flip) the page waits for the whole run: it never rests.
void RestWhileStarting() {
  if (flips > 0 || HeadlessActive()) return;
  if (SDL_GetTicks64() - startPieceBegan < kStartPieceMilliseconds) return;
  SleepOnTimer(0);
  startPieceBegan = SDL_GetTicks64();
}
