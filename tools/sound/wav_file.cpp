#include "tools/sound/wav_file.h"

#include <fstream>

#include "platform/files/little_endian.h"

namespace {

void PutTag(std::vector<std::uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

}  // namespace

std::vector<std::uint8_t> WavHeader16(std::uint32_t dataBytes, int channels, int rate) {
  const auto blockAlign = static_cast<std::uint32_t>(channels * 2);
  std::vector<std::uint8_t> out;
  out.reserve(44);
  PutTag(out, "RIFF");
  AppendLittleEndian(out, 36 + dataBytes, 4);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  AppendLittleEndian(out, 16, 4);
  AppendLittleEndian(out, 1, 2);  // PCM
  AppendLittleEndian(out, static_cast<std::uint32_t>(channels), 2);
  AppendLittleEndian(out, static_cast<std::uint32_t>(rate), 4);
  AppendLittleEndian(out, static_cast<std::uint32_t>(rate) * blockAlign, 4);
  AppendLittleEndian(out, blockAlign, 2);
  AppendLittleEndian(out, 16, 2);
  PutTag(out, "data");
  AppendLittleEndian(out, dataBytes, 4);
  return out;
}

bool WriteWav16Mono(const std::string& path, const std::vector<std::int16_t>& samples) {
  const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  std::vector<std::uint8_t> out = WavHeader16(dataBytes, 1, kSampleRate);
  for (std::int16_t s : samples) AppendLittleEndian(out, static_cast<std::uint16_t>(s), 2);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  return static_cast<bool>(file);
}
