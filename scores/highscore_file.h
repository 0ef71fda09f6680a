// Highscore.dat: the table's 400 bytes, row 0 first, each row as laid out in HighscoreEntry.
#pragma once

#include <cstdint>

constexpr int kHighscoreFileBytes = 400;

// The table as the file's bytes, and back; field by field, little-endian on any machine.
void EncodeHighscores(uint8_t bytes[kHighscoreFileBytes]);
void DecodeHighscores(const uint8_t bytes[kHighscoreFileBytes]);

constexpr char kHighscoreFile[] = "Highscore.dat";

// The file's bytes over the first of `bytes`, as far as it holds them (at most 400). How many
// bytes the file holds, counted up to 401 (so 400 means exactly the table's size) and at least
// 1 when the file exists; 0 when there is no such file; -1 with errno set when something is
// there that cannot be read (a folder, a FIFO, a file without read permission).
int ReadHighscoreFile(const char* path, uint8_t bytes[kHighscoreFileBytes]);

// Reads up to 400 bytes from the file: a shorter file fills only the bytes it holds, and a
// missing or unreadable one gives the default table.
void LoadHighscores();
