#include "platform/sdl/window_mode.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>

#include "platform/options/player_options.h"
#include "platform/sdl/presenter.h"

namespace {

constexpr int kRoomyScale = 2;

// The largest whole scale whose window the display's usable area holds, at least 1.
int LargestFittingScale(int display) {
  SDL_Rect usable{0, 0, kScreenWidth, kScreenHeight};
  SDL_GetDisplayUsableBounds(display, &usable);
  return std::max(1, std::min(usable.w / kScreenWidth, usable.h / kScreenHeight));
}

// The scale asked for, brought down to what the display holds (said once); else 2 where the
// display has room for it.
int WindowScale(int display) {
  const int fits = LargestFittingScale(display);
  const int asked = CurrentPlayerOptions().scale;
  if (asked <= 0) return std::min(kRoomyScale, fits);
  if (asked <= fits) return asked;
  static bool said = false;
  if (!said) {
    said = true;
    std::fprintf(stderr, "Zimbrel: a window at --scale %d does not fit this screen; using %d\n",
                 asked, fits);
  }
  return fits;
}

}  // namespace

uint32_t StartingWindowFlags() {
  if (CurrentPlayerOptions().window) return SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
  return SDL_WINDOW_BORDERLESS | SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_ALLOW_HIGHDPI;
}

void WindowedSize(int display, int* width, int* height) {
  const int scale = WindowScale(display);
  *width = kScreenWidth * scale;
  *height = kScreenHeight * scale;
}

void ToggleFullScreen(SDL_Window* window) {
  PresenterRedrawNext();
  // The window stays on the monitor it is on, whichever that is.
  const int display = std::max(SDL_GetWindowDisplayIndex(window), 0);
  if (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP) {
    int width = 0;
    int height = 0;
    WindowedSize(display, &width, &height);
    SDL_SetWindowFullscreen(window, 0);
    SDL_SetWindowBordered(window, SDL_TRUE);
    SDL_SetWindowResizable(window, SDL_TRUE);
    SDL_SetWindowSize(window, width, height);
    const int centred = static_cast<int>(SDL_WINDOWPOS_CENTERED_DISPLAY(display));
    SDL_SetWindowPosition(window, centred, centred);
  } else {
    // Without a window manager nobody answers the full-screen request and the window would
    // keep its size while SDL draws for the desktop's, cropping the picture: it is also moved
    // and sized over the whole display, which the X server itself carries out.
    SDL_Rect bounds{0, 0, kScreenWidth, kScreenHeight};
    SDL_GetDisplayBounds(display, &bounds);
    SDL_SetWindowBordered(window, SDL_FALSE);
    SDL_SetWindowPosition(window, bounds.x, bounds.y);
    SDL_SetWindowSize(window, bounds.w, bounds.h);
    SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
  }
}
