// The desktop: X11 or Wayland, the ending signals, full screen or the window the player asked for.
#include "platform/sdl/host_session.h"

#include <SDL.h>

#include <cstdlib>

#include "platform/sdl/window_mode.h"
#include "platform/seams/headless.h"
#include "platform/session/ending_signals.h"

namespace {

bool Set(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0';
}

}  // namespace

// Left to itself SDL would fall back to its offscreen driver and run the game where nobody
// sees it.
std::string HostVideoDrivers(std::string* whyNone) {
  std::string drivers = Set("DISPLAY") ? "x11" : "";
  if (Set("WAYLAND_DISPLAY")) drivers += drivers.empty() ? "wayland" : ",wayland";
  if (drivers.empty()) *whyNone = "neither DISPLAY nor WAYLAND_DISPLAY is set";
  return drivers;
}

// SDL has set its handlers by now; the game notes the signals on top of them.
void HostEndWithSession() { CatchEndingSignals(); }

// A pop-up over the whole desktop is a full-screen-desktop window: the monitor's mode never
// changes, and the 640 x 480 picture is scaled to fit. A player may ask for a window instead.
void HostShapeWindow(int* x, int* y, int* width, int* height, uint32_t* flags) {
  *flags |= SDL_WINDOW_ALLOW_HIGHDPI;
  if (HeadlessActive()) return;
  *flags = StartingWindowFlags();
  if (*flags & SDL_WINDOW_FULLSCREEN_DESKTOP) return;
  WindowedSize(0, width, height);
  *x = SDL_WINDOWPOS_CENTERED;
  *y = SDL_WINDOWPOS_CENTERED;
}

bool HostRunsAudioThreads() { return true; }

bool HostOpensSoundAtOnce() { return true; }
