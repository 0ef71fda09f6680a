// Highscore.dat as bytes, for tests that write one or look at what the game wrote.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "scores/highscore_file.h"

using Bytes = std::vector<uint8_t>;

inline Bytes FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

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
