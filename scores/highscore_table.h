// The ten best games, best first, and the record of the game being played.
#pragma once

#include <cstdint>

// One game's result. In Highscore.dat each entry is 40 bytes in this order, little-endian.
struct HighscoreEntry {
  char name[4];  // three characters and a zero byte
  int32_t score;
  int32_t swatCounts[8];  // swats by targets hit: 0 to 6, and 7 for seven or more
};
static_assert(sizeof(HighscoreEntry) == 40, "an entry is 40 bytes in the file");

constexpr int kHighscoreRows = 10;
extern HighscoreEntry HighscoreTable[kHighscoreRows];
// The game in progress; play adds to it, the highscore screen enters it into the table.
extern HighscoreEntry CurrentGameEntry;

// Rows that a game of this run entered and that no save has kept yet: a save merges these,
// and only these, into the table on the disk, which another game may have changed meanwhile.
extern bool NewHighscoreRows[kHighscoreRows];

// Adds points (or takes them, when negative) to the running game's score. The score is a
// 32-bit value; a total beyond its range wraps round instead of being undefined.
void AddToScore(int64_t points);

// Ten rows named "---" with every value 0: the table when there is no file.
void FillDefaultHighscores();
// Whether the running game scored points and beats row 9 (signed, strictly greater).
bool HighscoreQualifies();
// Puts the running game into the table below every row whose score is not less than its
// own, dropping the old row 9. Only called when the game qualifies. The row it took, now new.
int32_t HighscoreInsert();
// Puts each of the entries, best first, into the table where it still qualifies, as new rows.
void MergeHighscoreEntries(const HighscoreEntry* entries, int count);
