#include "globals/current_screen.h"

int32_t CurrentScreen = ScreenTitle;
bool ScreenFirstFrame = true;
