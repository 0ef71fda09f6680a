// Records a session as a replay: notes what every read of the keyboard and the mouse and every
// reading of the rules clock gave, writing a line only where a replay without one would give
// something else (or where the game has idled so long that the replay's bound on the flips
// between two lines would be passed: a line that changes nothing), and can move a close asked
// for from outside to the next flip, the one place where a replay's end can put it back. The
// lines are kept as the replay's text, which is all a recorder holds, up to a replay's size.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/win32/dinput.h"
#include "replay/replay_file.h"

struct ReplayRecorderOptions {
  // A program's hands answer each read before it is noted (the scripted player); none: the
  // player's own devices.
  DeviceReadHook answer = nullptr;
  // Readings of the rules clock are noted; a game run headless times itself again on the
  // virtual clock and needs none.
  bool noteClock = true;
  // A close from outside waits for the next flip and becomes the replay's end (the game as
  // a player keeps it has no need of that: its proofs end where their games do).
  bool holdClose = true;
  // No hooks of its own: it notes the answers the replay player gives, handed to
  // ReplayRecorderHear (the games a replay plays, kept as the game keeps them).
  bool hearsAnswers = false;
};

// Installs the recorder; before WinMain, once per process.
void ReplayRecorderStart(const ReplayRecorderOptions& options = {});

// An answer the replay player gave, as its onAnswer hands it on.
void ReplayRecorderHear(const ReplayLine& answer);

// Drops the lines so far and records on from here, as from a replay's start line carrying
// `carried`: a kept game's proof begins at its Play click, and memory holds one game.
void ReplayRecorderBeginAgain(const CarriedState& carried);

// The lines recorded so far, with the end where it came, as they follow a replay's first line
// (and its table line).
const std::string& ReplayRecordedLines();
std::optional<uint64_t> ReplayRecordedEnd();
// Whether the lines reached a replay's size and the recorder stopped: nothing after that was
// noted (until it begins again), and the recording cannot be played to its end.
bool ReplayRecordingFull();
