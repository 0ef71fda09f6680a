#include "tests/support/disk_sound.h"

#include <algorithm>
#include <fstream>
#include <vector>

namespace fs = std::filesystem;

std::uintmax_t DiskSound::Played() const {
  std::error_code missing;
  const std::uintmax_t size = fs::file_size(file_, missing);
  return missing ? 0 : size;
}

std::uintmax_t DiskSound::BytesBetween(std::uintmax_t from, std::uintmax_t to) const {
  const std::uintmax_t end = std::min(to, Played());
  return end > from ? end - from : 0;
}

double DiskSound::SoundingShare(std::uintmax_t from, std::uintmax_t to) const {
  const std::uintmax_t bytes = BytesBetween(from, to) / sizeof(int16_t) * sizeof(int16_t);
  if (bytes == 0) return 0;
  std::vector<int16_t> samples(bytes / sizeof(int16_t));
  std::ifstream in(file_, std::ios::binary);
  in.seekg(static_cast<std::streamoff>(from));
  in.read(reinterpret_cast<char*>(samples.data()), static_cast<std::streamsize>(bytes));
  const auto sounding = std::count_if(samples.begin(), samples.end(),
                                      [](int16_t sample) { return sample != 0; });
  return static_cast<double>(sounding) / static_cast<double>(samples.size());
}
