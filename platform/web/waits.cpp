// In a browser nothing happens while the game's code runs: no events come, nothing is shown.
// Each wait hands control back to the page (through Asyncify) and resumes where it was.
//
// The display's refresh paces the page. A wait for time (a frame's 10 ms, counted from the
// frame's start) rests until the next refresh, and a flip is shown at the first refresh that
// comes at least a little less than 1/60 s after the previous flip's: so a frame whose wait has
// already passed a refresh flips at once, and the wait and the flip share one refresh instead
// of taking one each. Timers would not do: the browser stretches each short sleep (to 4 ms once
// they nest), and ten of them with the drawing missed the refresh, halving the game's speed
// against its clock. Once a frame has had its refresh, a reading that finds the same
// millisecond (the last of a wait, the rules' own readings) spins to the next one: at most a
// millisecond, where waiting for another refresh would cost the frame a whole one.
#include "platform/sdl/waits.h"

#include <emscripten.h>

namespace {

// A display faster than 60 Hz does not speed the game up, and the jitter of a 60 Hz one never
// costs a whole refresh.
constexpr double kShortestFlipMilliseconds = 1000.0 / 60.0 - 3.0;
double lastRefresh = 0;  // the page's time of the latest refresh the game waited for
double flippedAt = -1e9;  // the refresh the previous flip was shown at

}  // namespace

EM_ASYNC_JS(double, WaitForAnimationFrame, (), {
  return await new Promise(function(resolve) { requestAnimationFrame(resolve); });
});

void RestWhilePolling() {
  if (lastRefresh == flippedAt) {
    lastRefresh = WaitForAnimationFrame();
    return;
  }
  const double until = emscripten_get_now() + 1.0;
  while (emscripten_get_now() < until) {
  }
}

void PaceRealFlip() {
  while (lastRefresh - flippedAt < kShortestFlipMilliseconds) lastRefresh = WaitForAnimationFrame();
  flippedAt = lastRefresh;
}
