#include "platform/sdl_video.h"

#include <SDL.h>

#include <cstdio>

bool EnsureSdlVideo() {
  if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
  // SDL 2.26 takes the X11 class only from the environment, read when video starts.
  SDL_setenv("SDL_VIDEO_X11_WMCLASS", "WINXCLASS", 1);
  // One mouse count is one count, whatever the window's scale.
  SDL_SetHint(SDL_HINT_MOUSE_RELATIVE_SCALING, "0");
  // A close request belongs to the window; only signals make SDL itself ask to quit.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    std::fprintf(stderr, "Zimbrel: cannot start video: %s\n", SDL_GetError());
    return false;
  }
  return true;
}
