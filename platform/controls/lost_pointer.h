// A pointer the game holds captured but the host has let go of: a browser gives its pointer
// lock back on Escape or a switch of window, and the page keeps the focus, so the free
// pointer's moves would reach the game as the counts of a captured mouse (the swatter jumping,
// and moving twice as far as the hidden pointer). Until the lock is back, the swatter follows
// the pointer where it is over the picture: each mouse read hands out the counts that bring
// the cursor under it, two pixels a count. The click that takes the lock back is not the
// game's: that press and its release never reach it.
#pragma once

#include "platform/win32/dinput.h"

// Whether the game holds the pointer captured now (the mouse acquired, the window focused).
// Where the host can lose the lock, the unit takes SDL's event filter, which sees each event as
// it comes: by the time the game reads it, the lock may be back.
void LostPointerSetWanted(bool wanted);
// At a mouse read: while the lock is lost and the pointer's place over the picture known, the
// counts from the cursor's place to the pointer's take the place of the motion gathered.
void LostPointerTakeCounts(LONG* x, LONG* y);
