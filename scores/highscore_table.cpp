#include "scores/highscore_table.h"

#include <cstring>

HighscoreEntry HighscoreTable[kHighscoreRows] = {};
HighscoreEntry CurrentGameEntry = {};
bool NewHighscoreRows[kHighscoreRows] = {};

namespace {

bool BeatsRowNine(int32_t score) {
  // Only a damaged file holds a score below 0; against it the 0 of a game never played (or
  // already named) would ask for a name at every visit of the title.
  return score > 0 && score > HighscoreTable[kHighscoreRows - 1].score;
}

int32_t InsertRow(const HighscoreEntry& entry) {
  int32_t position = 0;
  while (position < kHighscoreRows - 1 && !(HighscoreTable[position].score < entry.score)) {
    ++position;
  }
  for (int32_t row = kHighscoreRows - 1; row > position; --row) {
    HighscoreTable[row] = HighscoreTable[row - 1];
    NewHighscoreRows[row] = NewHighscoreRows[row - 1];
  }
  HighscoreTable[position] = entry;
  NewHighscoreRows[position] = true;
  return position;
}

}  // namespace

void AddToScore(int64_t points) {
  CurrentGameEntry.score = static_cast<int32_t>(static_cast<uint32_t>(
      static_cast<int64_t>(CurrentGameEntry.score) + points));
}

void FillDefaultHighscores() {
  for (int row = 0; row < kHighscoreRows; ++row) {
    HighscoreTable[row] = HighscoreEntry{};
    std::memcpy(HighscoreTable[row].name, "---", 4);
    NewHighscoreRows[row] = false;
  }
}

bool HighscoreQualifies() { return BeatsRowNine(CurrentGameEntry.score); }

int32_t HighscoreInsert() { return InsertRow(CurrentGameEntry); }

void MergeHighscoreEntries(const HighscoreEntry* entries, int count) {
  for (int i = 0; i < count; ++i) {
    if (BeatsRowNine(entries[i].score)) InsertRow(entries[i]);
  }
}
