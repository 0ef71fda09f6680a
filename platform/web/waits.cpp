// In a browser nothing happens while the game's code runs: no events come, nothing is shown.
// Each wait hands control back to the page (through Asyncify) and resumes where it was.
//
// The display's refresh paces the page. A frame's first rest, whatever it rests for (a device
// read that found nothing new, the same millisecond read twice), waits for the next refresh;
// a flip is shown at the first refresh at least a little less than 1/60 s after the previous
// flip's. So a frame whose rest has passed a refresh flips at once: the frame has the whole
// refresh for its work, and its 10 ms wait, counted from its start, and the flip share one
// refresh instead of taking one each. Short timers alone would not do: the browser stretches
// each of them (to 4 ms once they nest), and ten of them with the drawing missed the refresh,
// halving the game's speed against its clock.
#include "platform/sdl/waits.h"

#include <SDL.h>
#include <emscripten.h>

namespace {

// A display faster than 60 Hz does not speed the game up, and the jitter of a 60 Hz one never
// costs a whole refresh.
constexpr double kShortestFlipMilliseconds = 1000.0 / 60.0 - 3.0;
double lastRefresh = 0;  // the page's time of the latest refresh the game waited for
double flippedAt = -1e9;  // the refresh the previous flip was shown at

EM_ASYNC_JS(double, WaitForAnimationFrame, (), {
  return await new Promise(function(resolve) { requestAnimationFrame(resolve); });
});

// The frame's first rest: until the display's next refresh.
bool WaitedForRefresh() {
  if (lastRefresh != flippedAt) return false;
  lastRefresh = WaitForAnimationFrame();
  return true;
}

}  // namespace

// After the refresh, a reading that finds the same millisecond again (the last of the 10 ms
// wait, the rules' own readings) is not a wait: it rests no more.
void RestWhilePolling() { WaitedForRefresh(); }

// After the refresh, a loop waiting for the player must still hand the page control, or no
// event would ever come.
void RestBetweenReads() {
  if (!WaitedForRefresh()) emscripten_sleep(1);
}

void PaceRealFlip() {
  const bool atOnce = lastRefresh - flippedAt >= kShortestFlipMilliseconds;
  while (lastRefresh - flippedAt < kShortestFlipMilliseconds) lastRefresh = WaitForAnimationFrame();
  flippedAt = lastRefresh;
  // The next frame's start, its first reading of the clock, must not find the millisecond of
  // this frame's last one: resting there for the refresh, before the frame had started, would
  // leave the whole of its 10 ms still to wait.
  if (!atOnce) return;
  const Uint64 reading = SDL_GetTicks64();
  while (SDL_GetTicks64() == reading) {
  }
}
