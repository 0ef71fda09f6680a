// Plays a replay into the game: every read of the keyboard and the mouse and every reading of
// the rules clock is answered from the replay, whatever SDL's events say, and its end closes
// the window as the window manager would.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "replay/replay_file.h"

struct ReplayPlayerOptions {
  // When set, the rules clock must never go back, nor advance less over a stretch of flips
  // than 1/60 s a flip, whatever build recorded it (less one flip and one millisecond for
  // where within its frame each reading falls): a clock slowed to gain time stops the run.
  bool clockJudged = false;
  // Told of every answer the replay gives, in the order of the reads: a mouse read's motion
  // and buttons, the keys a keyboard read finds held, a clock reading's value.
  void (*onAnswer)(const ReplayLine& answer) = nullptr;
  // Told once a replay of one game has put what its game carried in place, before its first
  // answer.
  void (*onStart)() = nullptr;
};

// Installs the player; before WinMain, once per process. A replay with a start line begins at
// the program's first read: it counts flips from its start, puts the carried state in place and
// passes to play as a Play click would, and goes on with its lines.
void ReplayPlayerStart(Replay replay, const ReplayPlayerOptions& options = {});

// Thrown out of a device read, a reading of the clock or a flip when the replay can no longer
// move the game on (it is over, and the game still waits for a player or runs on), or when its
// clock is not one a game can have read.
struct ReplayStopped {
  std::string why;
  int lineNumber = 0;        // the line it is about; 0 when none
  bool implausible = false;  // what no game can have given (its clock, its start), not the end
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
