// Highscore.dat: the table's 400 bytes, row 0 first, each row as laid out in HighscoreEntry.
#pragma once

#include <cstdint>

constexpr int kHighscoreFileBytes = 400;

// The table as the file's bytes, and back; field by field, little-endian on any machine.
void EncodeHighscores(uint8_t bytes[kHighscoreFileBytes]);
void DecodeHighscores(const uint8_t bytes[kHighscoreFileBytes]);

// Reads up to 400 bytes from the file: a shorter file fills only the bytes it holds, and a
// missing one gives the default table.
void LoadHighscores();
// Writes the table. The old file is replaced only once the new one is whole on the disk, so
// a crash, a kill or a full disk never loses the names already kept. False when it could not.
bool SaveHighscores();
