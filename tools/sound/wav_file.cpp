#include "tools/sound/wav_file.h"

#include <fstream>

namespace {

void Put(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF));
}

void PutTag(std::vector<std::uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

}  // namespace

std::vector<std::uint8_t> WavHeader16(std::uint32_t dataBytes, int channels, int rate) {
  const auto blockAlign = static_cast<std::uint32_t>(channels * 2);
  std::vector<std::uint8_t> out;
  out.reserve(44);
  PutTag(out, "RIFF");
  Put(out, 36 + dataBytes, 4);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  Put(out, 16, 4);
  Put(out, 1, 2);  // PCM
  Put(out, static_cast<std::uint32_t>(channels), 2);
  Put(out, static_cast<std::uint32_t>(rate), 4);
  Put(out, static_cast<std::uint32_t>(rate) * blockAlign, 4);
  Put(out, blockAlign, 2);
  Put(out, 16, 2);
  PutTag(out, "data");
  Put(out, dataBytes, 4);
  return out;
}

bool WriteWav16Mono(const std::string& path, const std::vector<std::int16_t>& samples) {
  const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  std::vector<std::uint8_t> out = WavHeader16(dataBytes, 1, kSampleRate);
  for (std::int16_t s : samples) Put(out, static_cast<std::uint16_t>(s), 2);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  return static_cast<bool>(file);
}
