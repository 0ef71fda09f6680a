// The game's window opened headless, as WinMain opens it but 640 x 480 and with the window
// procedure given: for tests, benchmarks and fuzz targets that run parts of the game without
// its WinMain. The caller keeps the window where the game looks for it (MainWindow).
#pragma once

#include "platform/win32/win.h"

// Switches to the headless backend, registers the game's window class with `procedure` (once a
// process: a class stays registered) and creates the window; nullptr when it cannot be made.
HWND OpenHeadlessWindow(WNDPROC procedure, DWORD style = WS_POPUP);
