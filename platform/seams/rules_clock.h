// The tick counter as the game's rules read it (the stage clock, the seconds left, the time
// out). It is GetTickCount, with two seams: a replay can note each reading of a live session,
// or hand back the readings it noted, so that a recorded game times out exactly as it did; and
// a host can hold it still for a while (a browser's hidden page), the time it stood still
// never reaching the rules.
#pragma once

#include "platform/win32/win.h"

// What a reading of the rules clock becomes: given the live tick count, returns the value the
// rules see.
using RulesClockHook = DWORD (*)(DWORD live);

DWORD RulesTickCount();
// What the rules clock gave last (0 before its first reading), read without reading the clock.
DWORD RulesTickLast();
// The tick counter itself when the rules clock was last read (0 before its first reading): a
// host pacing its flips knows from it how late the rules saw the time.
DWORD RulesTickLastLive();
void SetRulesClockHook(RulesClockHook hook);

// The rules clock stands still from the tick count `at` (or from its last reading, if that
// came later: it never goes back) until it is let go at the tick count `at`; from then on it
// reads that much less than the tick counter. A hold while held, or a release while running,
// changes nothing.
void HoldRulesClock(DWORD at);
void ReleaseRulesClock(DWORD at);
