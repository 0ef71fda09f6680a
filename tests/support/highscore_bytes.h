// Highscore.dat as bytes, for tests that write one or look at what the game wrote.
#pragma once

#include "scores/highscore_file.h"
#include "tests/support/file_bytes.h"

// The table in memory as the file's bytes.
inline Bytes TableBytes() {
  Bytes bytes(kHighscoreFileBytes);
  EncodeHighscores(bytes.data());
  return bytes;
}

// The table when there is no file: ten rows named "---" with every value 0.
inline Bytes DefaultFileBytes() {
  Bytes bytes;
  for (int row = 0; row < 10; ++row) {
    bytes.insert(bytes.end(), {'-', '-', '-', 0});
    bytes.insert(bytes.end(), 36, 0);
  }
  return bytes;
}
