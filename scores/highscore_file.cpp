#include "scores/highscore_file.h"

#include <cstdio>
#include <cstring>

#include "platform/files/atomic_file.h"
#include "platform/files/little_endian.h"
#include "platform/files/regular_file.h"
#include "scores/highscore_table.h"

namespace {

constexpr char kHighscoreFile[] = "Highscore.dat";

void PutInt32(uint8_t* at, int32_t value) { WriteLe32(at, static_cast<uint32_t>(value)); }

int32_t TakeInt32(const uint8_t* at) { return static_cast<int32_t>(ReadLe32(at)); }

}  // namespace

void EncodeHighscores(uint8_t bytes[kHighscoreFileBytes]) {
  for (int row = 0; row < kHighscoreRows; ++row) {
    const HighscoreEntry& entry = HighscoreTable[row];
    uint8_t* at = bytes + 40 * row;
    std::memcpy(at, entry.name, 4);
    PutInt32(at + 4, entry.score);
    for (int k = 0; k < 8; ++k) PutInt32(at + 8 + 4 * k, entry.swatCounts[k]);
  }
}

void DecodeHighscores(const uint8_t bytes[kHighscoreFileBytes]) {
  for (int row = 0; row < kHighscoreRows; ++row) {
    HighscoreEntry& entry = HighscoreTable[row];
    const uint8_t* at = bytes + 40 * row;
    std::memcpy(entry.name, at, 4);
    entry.score = TakeInt32(at + 4);
    for (int k = 0; k < 8; ++k) entry.swatCounts[k] = TakeInt32(at + 8 + 4 * k);
  }
}

void LoadHighscores() {
  // A folder or a FIFO under the table's name is no table, and must not block start-up.
  std::FILE* file = OpenRegularFileStream(kHighscoreFile);
  if (file == nullptr) {
    FillDefaultHighscores();
    return;
  }
  // The bytes the file does not hold keep what the table held before.
  uint8_t bytes[kHighscoreFileBytes];
  EncodeHighscores(bytes);
  const size_t read = std::fread(bytes, 1, sizeof bytes, file);
  std::fclose(file);
  if (read > 0) DecodeHighscores(bytes);
}

bool SaveHighscores() {
  uint8_t bytes[kHighscoreFileBytes];
  EncodeHighscores(bytes);
  return WriteFileAtomically(kHighscoreFile, bytes, sizeof bytes);
}
