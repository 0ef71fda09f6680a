// In a browser nothing happens while the game's code runs: no events come, nothing is shown.
// Each wait hands control back to the page (through Asyncify) and resumes where it was.
//
// The display's refresh paces the page. A frame's first rest, whatever it rests for (a device
// read that found nothing new, the same millisecond read twice in the 10 ms wait), waits for
// the next refresh; a flip is shown at the first refresh at least a little less than 1/60 s
// after the previous flip's. So a frame whose rest has passed a refresh flips at once: the
// frame reads its input just after a refresh, has the whole refresh for its work, and the wait
// and the flip share one refresh instead of taking one each. Short timers alone would not do:
// the browser stretches each of them (to 4 ms once they nest), and ten of them with the drawing
// missed the refresh, halving the game's speed against its clock.
#include "platform/sdl/waits.h"

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

// After the refresh, a reading that finds the same millisecond (the last of the 10 ms wait,
// the rules' own readings) spins to the next one: at most a millisecond, where another refresh
// would cost the frame a whole one.
void RestWhilePolling() {
  if (WaitedForRefresh()) return;
  const double until = emscripten_get_now() + 1.0;
  while (emscripten_get_now() < until) {
  }
}

// After the refresh, a loop waiting for the player must still hand the page control, or no
// event would ever come.
void RestBetweenReads() {
  if (!WaitedForRefresh()) emscripten_sleep(1);
}

void PaceRealFlip() {
  while (lastRefresh - flippedAt < kShortestFlipMilliseconds) lastRefresh = WaitForAnimationFrame();
  flippedAt = lastRefresh;
}
