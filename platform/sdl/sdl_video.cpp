#include "platform/sdl/sdl_video.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/sdl/host_session.h"
#include "platform/seams/headless.h"

namespace {

bool videoFailed = false;

bool ShowsNothing(const char* driver) {
  return driver == nullptr || std::strcmp(driver, "offscreen") == 0 ||
         std::strcmp(driver, "dummy") == 0;
}

bool Fail(const std::string& why) {
  std::fprintf(stderr, "Zimbrel: %s\n", why.c_str());
  videoFailed = true;
  return false;
}

}  // namespace

bool EnsureSdlVideo() {
  if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
  if (videoFailed) return false;  // said once already
  // SDL 2.26 takes the X11 class only from the environment, read when video starts. On
  // Wayland it would take the same as the app_id; there the desktop entry's id names the
  // window, so that the desktop shows the game's icon and name.
  SDL_setenv("SDL_VIDEO_X11_WMCLASS", "WINXCLASS", 1);
  SDL_setenv("SDL_VIDEO_WAYLAND_WMCLASS", ZIMBREL_APP_ID, 1);
  // One mouse count is one count, whatever the window's scale.
  SDL_SetHint(SDL_HINT_MOUSE_RELATIVE_SCALING, "0");
  // A close request belongs to the window; only signals make SDL itself ask to quit.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  // SDL_VIDEODRIVER, where set, chooses the driver itself.
  const char* chosenDriver = std::getenv("SDL_VIDEODRIVER");
  if (!HeadlessActive() && (chosenDriver == nullptr || *chosenDriver == '\0')) {
    std::string whyNone;
    const std::string drivers = HostVideoDrivers(&whyNone);
    if (drivers.empty()) return Fail("no display to open: " + whyNone);
    SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
  }
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    return Fail(std::string("cannot start video: ") + SDL_GetError());
  }
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!HeadlessActive() && ShowsNothing(driver)) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    return Fail(std::string("no display to open: SDL's ") + (driver ? driver : "unknown") +
                " video driver shows nothing");
  }
  HostEndWithSession();
  return true;
}
