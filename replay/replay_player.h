// Plays a replay into the game: every read of the keyboard and the mouse and every reading of
// the rules clock is answered from the replay, whatever SDL's events say, and its end closes
// the window as the window manager would.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "replay/replay_file.h"

// Installs the player; before WinMain, once per process.
void ReplayPlayerStart(Replay replay);

// Thrown out of a device read or a flip when the replay can no longer move the game on: it is
// over, and the game still waits for a player or runs on.
struct ReplayStopped {
  std::string why;
};

struct ReplayPlayerReport {
  std::optional<uint64_t> endFlip;
  bool closedAtEnd = false;  // the end's close was posted
  int firstUnreadLine = 0;   // a line the game never came to; 0 when every line was read
  int firstLateLine = 0;     // a line for a read the game never made; it counted at the next one
};
ReplayPlayerReport ReplayPlayerResult();

// Past the end of a replay the game gets this many flips to finish, and a wait this many reads
// of one device, before it is stopped.
constexpr uint64_t kFlipsAfterTheReplay = 60;
constexpr uint64_t kReadsOfAnEndlessWait = 1000;
