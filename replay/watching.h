// A replay shown in the game's own window, at the pace it was played: the replay answers the
// game's reads and the rules clock's readings, and Escape ends the watching as the session's
// end would (the waits give up, the window closes, the game shuts down). For
// `zimbrel-replay watch` and the browser page's watch link.
#pragma once

#include "replay/replay_file.h"

// Before WinMain, once per process; the working folder already holds the replay's table.
void WatchReplay(Replay replay);
// Whether Escape ended it, rather than the replay's own end.
bool WatchingEndedByEscape();
