#include "scores/highscore_table.h"

#include <cstring>

HighscoreEntry HighscoreTable[kHighscoreRows] = {};
HighscoreEntry CurrentGameEntry = {};

void AddToScore(int64_t points) {
  CurrentGameEntry.score = static_cast<int32_t>(static_cast<uint32_t>(
      static_cast<int64_t>(CurrentGameEntry.score) + points));
}

void FillDefaultHighscores() {
  for (HighscoreEntry& row : HighscoreTable) {
    row = HighscoreEntry{};
    std::memcpy(row.name, "---", 4);
  }
}

bool HighscoreQualifies() {
  // Only a damaged file holds a score below 0; against it the 0 of a game never played (or
  // already named) would ask for a name at every visit of the title.
  return CurrentGameEntry.score > 0 &&
         CurrentGameEntry.score > HighscoreTable[kHighscoreRows - 1].score;
}

int32_t HighscoreInsert() {
  int32_t position = 0;
  while (position < kHighscoreRows - 1 &&
         !(HighscoreTable[position].score < CurrentGameEntry.score)) {
    ++position;
  }
  for (int32_t row = kHighscoreRows - 1; row > position; --row) {
    HighscoreTable[row] = HighscoreTable[row - 1];
  }
  HighscoreTable[position] = CurrentGameEntry;
  return position;
}
