#include "tests/support/highscore_bytes.h"

#include "scores/highscore_file.h"

Bytes TableBytes() {
  Bytes bytes(kHighscoreFileBytes);
  EncodeHighscores(bytes.data());
  return bytes;
}

Bytes DefaultFileBytes() {
  Bytes bytes;
  for (int row = 0; row < 10; ++row) {
    bytes.insert(bytes.end(), {'-', '-', '-', 0});
    bytes.insert(bytes.end(), 36, 0);
  }
  return bytes;
}
