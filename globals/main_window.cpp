#include "globals/main_window.h"

HWND MainWindow = nullptr;
HINSTANCE AppInstance = nullptr;
