// Records a session as a replay: notes what every read of the keyboard and the mouse and every
// reading of the rules clock gave, writing a line only where a replay without one would give
// something else, and moves a close asked for from outside to the next flip, the one place
// where a replay's end can put it back.
#pragma once

#include "platform/win32/dinput.h"
#include "replay/replay_file.h"

// Installs the recorder; before WinMain, once per process. With `answer`, a program's hands
// answer each read before it is noted (the scripted player). Without `noteClock`, readings of
// the rules clock are not noted: a game run headless times itself again on the virtual clock.
void ReplayRecorderStart(DeviceReadHook answer = nullptr, bool noteClock = true);

// What has been recorded so far.
const Replay& ReplayRecorded();
