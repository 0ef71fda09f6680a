// Full screen or a window: how the game window starts, as the command line asked, and the
// Alt+Enter switch between the two. The 640 x 480 picture is scaled to either with its aspect
// kept (the presenter's logical size).
#pragma once

#include <cstdint>

struct SDL_Window;

// SDL's window flags for the game window at its start, and its size in a window on the given
// display (the first one at the start, where SDL centres a new window).
uint32_t StartingWindowFlags();
void WindowedSize(int display, int* width, int* height);

// Alt+Enter: full screen (the desktop's own mode, never changed) or a window.
void ToggleFullScreen(SDL_Window* window);
