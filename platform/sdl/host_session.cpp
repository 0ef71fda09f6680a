// The desktop: X11 or Wayland, the terminal's hang-up, a window over the whole screen.
#include "platform/sdl/host_session.h"

#include <SDL.h>
#include <signal.h>

#include <cstdlib>

#include "platform/seams/headless.h"

namespace {

bool Set(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0';
}

// SDL turns SIGINT and SIGTERM into a quit request; the session going away ends the game the
// same way, so that shutdown runs and the table is saved.
void ForwardHangUp(int) { raise(SIGTERM); }

}  // namespace

// Left to itself SDL would fall back to its offscreen driver and run the game where nobody
// sees it.
std::string HostVideoDrivers(std::string* whyNone) {
  std::string drivers = Set("DISPLAY") ? "x11" : "";
  if (Set("WAYLAND_DISPLAY")) drivers += drivers.empty() ? "wayland" : ",wayland";
  if (drivers.empty()) *whyNone = "neither DISPLAY nor WAYLAND_DISPLAY is set";
  return drivers;
}

void HostEndWithSession() {
  struct sigaction current;
  // An ignored hang-up (nohup) stays ignored.
  if (sigaction(SIGHUP, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) return;
  struct sigaction forward{};
  forward.sa_handler = ForwardHangUp;
  sigemptyset(&forward.sa_mask);
  sigaction(SIGHUP, &forward, nullptr);
}

// A pop-up over the whole desktop is a full-screen-desktop window: the monitor's mode never
// changes, and the 640 x 480 picture is scaled to fit.
void HostShapeWindow(int*, int*, uint32_t* flags) {
  *flags |= SDL_WINDOW_ALLOW_HIGHDPI;
  if (!HeadlessActive()) *flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
}

bool HostRunsAudioThreads() { return true; }
