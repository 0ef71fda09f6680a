// The counts that bring the game's cursor to a place on the picture (in its pixels), two
// pixels a count, rounded toward the cursor so that it never ends beyond the place.
#pragma once

#include "platform/win32/dinput.h"

// Its corner there: a free pointer, which the player sees as the cursor's corner.
void CountsToCursorCorner(int x, int y, LONG* countsX, LONG* countsY);
// Its tip there: the swatter's head under a finger, the title's fly by its corner.
void CountsToCursorTip(int x, int y, LONG* countsX, LONG* countsY);
