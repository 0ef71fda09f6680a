// The platform layer's one window: what a window handle points to, and the SDL window behind
// it. The window stand-ins create it; the event pump and the presenter look it up here.
#pragma once

#include "platform/win32/win.h"

struct SDL_Window;

struct Window {
  SDL_Window* sdlWindow = nullptr;
  WNDPROC procedure = nullptr;
  bool alive = false;
};

// The record of the game window, whether or not it has been created yet.
Window& GameWindow();
SDL_Window* PlatformSdlWindow(HWND window);
