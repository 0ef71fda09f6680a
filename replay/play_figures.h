// A game's play as numbers: how the hand that played it pressed, moved and swatted, measured
// by a check's run from the answers it gave the game's reads while the game was in play, and
// the rule that holds a game for a person to review when they show what no hand gives
// (docs/review.md). Measuring draws no number and moves no clock.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "replay/replay_file.h"

struct PlayFigures {
  int64_t mouseReads = 0;    // in play
  int64_t playMs = 0;        // by the rules clock, from its first reading in play to its last
  int64_t presses = 0;       // of the left button, in play
  int64_t shortestPress = 0; // reads the shortest press was held; 0 with no press
  int64_t oneReadPresses = 0; // presses let go at the read after the one that pressed
  int64_t longestJump = 0;   // pixels the swatter was moved at one read, the longer way
  // Presses whose own read put a fly or the wasp under the swatter: the aimed ones; and of
  // those, the ones pressed at the very read whose motion brought it there (none was in reach
  // before); the rest waited a number of reads with it in reach, whose middle value is kept.
  int64_t aimedPresses = 0;
  int64_t pressedOnArrival = 0;
  int64_t medianWaitReads = 0;
  bool operator==(const PlayFigures&) const = default;
};

// Installs the flip observer; once per process, before WinMain. Hand PlayFiguresHear every
// answer the replay player gives.
void PlayFiguresStart();
void PlayFiguresHear(const ReplayLine& answer);
// The figures of the last game whose play has ended.
PlayFigures PlayFiguresOfLastGame();

// Why a game's play is held for review ("" when it is not): what no hand gives.
std::string ReviewHold(const PlayFigures& figures);

// "reads 60.0 a second, ..." as analyze shows them, one figure after another.
std::string ShownFigures(const PlayFigures& figures);
