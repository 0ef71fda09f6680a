// The process entry, the game window and the frame loop.
#pragma once

#include "globals/main_window.h"
#include "platform/win32/win.h"

int WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand);
LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Shows a start-up failure in the error box; always 0, so start-up can return it at once.
int ReportError(const char* text);
