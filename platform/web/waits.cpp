// In a browser nothing happens while the game's code runs: no events come, nothing is shown.
// Each wait hands control back to the page (through Asyncify) and resumes where it was.
#include "platform/sdl/waits.h"

#include <emscripten.h>

namespace {

// The display's refresh paces the page; a flip takes the first refresh that comes at least
// this long after the previous flip, so that a display faster than 60 Hz does not speed the
// game up and the jitter of a 60 Hz one never costs a whole refresh.
constexpr double kShortestFlipMilliseconds = 1000.0 / 60.0 - 3.0;
double lastFlip = 0;

}  // namespace

EM_ASYNC_JS(void, WaitForAnimationFrame, (), {
  await new Promise(function(resolve) { requestAnimationFrame(function() { resolve(); }); });
});

void RestWhilePolling() { emscripten_sleep(1); }

void PaceRealFlip() {
  do {
    WaitForAnimationFrame();
  } while (emscripten_get_now() - lastFlip < kShortestFlipMilliseconds);
  lastFlip = emscripten_get_now();
}
