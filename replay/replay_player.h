// Plays a replay into the game: every read of the keyboard and the mouse and every reading of
// the rules clock is answered from the replay, whatever SDL's events say, and its end closes
// the window as the window manager would.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "replay/replay_file.h"

// The shortest time a flip takes in the build that recorded a replay, as a fraction of a
// millisecond: 1000/60 on the desktop, 137/10 in a browser.
struct FlipFloor {
  int64_t milliseconds = 1000;
  int64_t per = 60;
};

struct ReplayPlayerOptions {
  // When set, the rules clock must never go back, nor advance less over a stretch of flips
  // than those flips take in the build (less one flip and one millisecond for where within
  // its frame each reading falls): a clock slowed to gain time stops the run.
  std::optional<FlipFloor> clockFloor;
};

// Installs the player; before WinMain, once per process.
void ReplayPlayerStart(Replay replay, const ReplayPlayerOptions& options = {});

// Thrown out of a device read, a reading of the clock or a flip when the replay can no longer
// move the game on (it is over, and the game still waits for a player or runs on), or when its
// clock is not one a game can have read.
struct ReplayStopped {
  std::string why;
  int lineNumber = 0;        // the line it is about; 0 when none
  bool implausible = false;  // the clock, not the end
};

struct ReplayPlayerReport {
  std::optional<uint64_t> endFlip;
  bool closedAtEnd = false;  // the end's close was posted
  int firstUnreadLine = 0;   // a line the game never came to; 0 when every line was read
  int firstLateLine = 0;     // a line for a read the game never made; it counted at the next one
};
ReplayPlayerReport ReplayPlayerResult();

// Past the last flip of a replay (its last line's or its end's) the game gets this many flips
// to finish, and a wait this many reads of one device, before it is stopped.
constexpr uint64_t kFlipsAfterTheReplay = 60;
constexpr uint64_t kReadsOfAnEndlessWait = 1000;
