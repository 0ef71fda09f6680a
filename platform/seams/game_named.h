// Told when a game's name is complete in the highscore table (its third character typed), with
// the game as the table shows it, before the table is saved: where a game the player keeps
// ends, and what a replay proves. Observers get the game as a value and read no record of the
// game's; they draw no number and move no clock.
#pragma once

#include <array>
#include <cstdint>
#include <string>

struct NamedGame {
  std::string name;  // as typed: three letters or digits
  int32_t score = 0;
  std::array<int32_t, 8> swats{};  // swats by targets hit: 0 to 6, and 7 or more
  int32_t stage = 0;               // the stage the game reached
};

using GameNamedObserver = void (*)(const NamedGame& game);

// Observers are told in the order they were added, and stay for the life of the process.
void AddGameNamedObserver(GameNamedObserver observer);

// Called by the highscore screen.
void NotifyGameNamed(const NamedGame& game);
