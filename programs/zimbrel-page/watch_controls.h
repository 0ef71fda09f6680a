// A proof watched in the page with controls: the game runs headless (its virtual clock, its
// frames captured, as `zimbrel-replay play` runs it, so each flip is the desktop's picture), and
// at every flip hands the page its picture and its sound, then waits for the page's word to go
// on: at the recorded pace times the speed, held while paused, at once while it seeks. Going
// back, the page puts the whole program back as it stood at an earlier flip (watch.js).
#pragma once

#include "replay/replay_file.h"

// Before WinMain, once per process; the working folder already holds the replay's table.
void WatchWithControls(Replay replay);
