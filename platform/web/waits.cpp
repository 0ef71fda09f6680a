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
// The rest waits for a refresh first (a hidden page, which gets none, stops there), then for
// the beat on a timer, and spins its last milliseconds: the browser's timers end late, and a
// millisecond late every frame would be 57 flips a second.
#include "platform/sdl/waits.h"

#include <SDL.h>
#include <emscripten.h>

#include <algorithm>
#include <cmath>

#include "platform/seams/rules_clock.h"

namespace {

constexpr double kFlipMilliseconds = 1000.0 / 60.0;
constexpr double kSpunMilliseconds = 2;

double beat = 0;  // the tick count the next flip is due at
Uint64 beatReached = 0;  // the tick count the frame's wait for its beat ended at
bool restedSinceFlip = false;

EM_ASYNC_JS(double, WaitForAnimationFrame, (), {
  return await new Promise(function(resolve) { requestAnimationFrame(resolve); });
});

void WaitForBeat() {
  restedSinceFlip = true;
  WaitForAnimationFrame();
  const double left = beat - static_cast<double>(SDL_GetTicks64());
  if (left > kSpunMilliseconds + 1) emscripten_sleep(static_cast<unsigned>(left - kSpunMilliseconds));
  while (static_cast<double>(SDL_GetTicks64()) < beat) {
  }
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
  // Late: the rules read the clock, or the wait ended, past the beat's millisecond.
  const double latest = static_cast<double>(std::max<Uint64>(beatReached, RulesTickLastLive()));
  if (latest > std::ceil(beat)) beat = latest;
  beat += kFlipMilliseconds;
  // The next frame's start, its first reading of the clock, must not find the millisecond of
  // this frame's last one: resting there for the beat, before the frame had started, would
  // leave the whole of its 10 ms still to wait after it.
  while (static_cast<double>(SDL_GetTicks64()) <= latest) {
  }
}
