// The game window and the program instance, set by the entry before start-up and used by
// every device that must be tied to the window.
#pragma once

#include "platform/win32/win.h"

extern HWND MainWindow;
extern HINSTANCE AppInstance;
