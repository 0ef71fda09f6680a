#include "platform/sdl/game_window.h"

namespace {

Window mainWindow;

}  // namespace

Window& GameWindow() { return mainWindow; }

SDL_Window* PlatformSdlWindow(HWND window) { return window ? window->sdlWindow : nullptr; }
HWND PlatformMainWindow() { return mainWindow.sdlWindow ? &mainWindow : nullptr; }
bool WindowAlive(HWND window) { return window && window->alive; }
