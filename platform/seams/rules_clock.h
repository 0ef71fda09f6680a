// The tick counter as the game's rules read it (the stage clock, the seconds left, the time
// out). It is GetTickCount, with one seam: a replay can note each reading of a live session,
// or hand back the readings it noted, so that a recorded game times out exactly as it did.
#pragma once

#include "platform/win32/win.h"

// What a reading of the rules clock becomes: given the live tick count, returns the value the
// rules see.
using RulesClockHook = DWORD (*)(DWORD live);

DWORD RulesTickCount();
// What the rules clock gave last (0 before its first reading), read without reading the clock.
DWORD RulesTickLast();
void SetRulesClockHook(RulesClockHook hook);
