#include "scores/highscore_file.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/files/atomic_file.h"
#include "platform/files/little_endian.h"
#include "platform/files/regular_file.h"
#include "scores/highscore_table.h"

namespace {

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

int ReadHighscoreFile(const char* path, uint8_t bytes[kHighscoreFileBytes]) {
  // A folder or a FIFO under the table's name is no table, and must not block start-up.
  const int fd = OpenRegularFile(path);
  if (fd < 0) return errno == ENOENT ? 0 : -1;
  // One byte past the table tells a long file from a whole one.
  uint8_t held[kHighscoreFileBytes + 1];
  size_t got = 0;
  while (got < sizeof held) {
    const ssize_t part = read(fd, held + got, sizeof held - got);
    if (part < 0 && errno == EINTR) continue;
    if (part < 0) {
      const int fault = errno;
      close(fd);
      errno = fault;
      return -1;
    }
    if (part == 0) break;
    got += static_cast<size_t>(part);
  }
  close(fd);
  std::memcpy(bytes, held, std::min<size_t>(got, kHighscoreFileBytes));
  return std::max(static_cast<int>(got), 1);
}

void LoadHighscores() {
  // What a save cut short by a kill left behind; a minute is far longer than any save takes.
  RemoveLeftoverTemporaries(kHighscoreFile, 60);
  // The bytes the file does not hold keep what the table held before.
  uint8_t bytes[kHighscoreFileBytes];
  EncodeHighscores(bytes);
  const int read = ReadHighscoreFile(kHighscoreFile, bytes);
  if (read <= 0) {
    FillDefaultHighscores();
    return;
  }
  DecodeHighscores(bytes);
  for (bool& fresh : NewHighscoreRows) fresh = false;
}
