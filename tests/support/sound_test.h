// Shared set-up of the sound tests: a headless sound device, a scratch folder of WAV files
// made by sox or written byte by byte, and measurements of the captured mix.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/files/little_endian.h"
#include "platform/files/temporary_folder.h"
#include "platform/sdl/audio_mixer.h"
#include "platform/seams/headless.h"
#include "shell/win_main.h"
#include "sound/sound_slots.h"
#include "tests/support/file_bytes.h"

// Byte by byte: GCC 12 at -O3 takes a range insert into an empty vector for an overflow.
inline void PutId(Bytes& bytes, const char* id) {
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(id[i]));
}

// One chunk: id, size (the real one unless a lying size is given), data, pad byte if odd.
inline Bytes Chunk(const char* id, const Bytes& data, int64_t claimedSize = -1) {
  Bytes bytes;
  PutId(bytes, id);
  AppendLe32(bytes, static_cast<uint32_t>(claimedSize < 0 ? int64_t(data.size()) : claimedSize));
  bytes.insert(bytes.end(), data.begin(), data.end());
  if (data.size() % 2) bytes.push_back(0);
  return bytes;
}

// A RIFF form of the given type around the chunks, with the size they really take.
inline Bytes RiffForm(const char* type, const std::vector<Bytes>& chunks) {
  Bytes body;
  PutId(body, type);
  for (const Bytes& chunk : chunks) body.insert(body.end(), chunk.begin(), chunk.end());
  return Chunk("RIFF", body);
}

struct ParsedChunk {
  std::string id;
  Bytes data;
};

// The chunks inside a well-formed RIFF file, in order.
inline std::vector<ParsedChunk> ChunksOf(const Bytes& file) {
  std::vector<ParsedChunk> chunks;
  size_t at = 12;
  while (at + 8 <= file.size()) {
    const uint32_t size = ReadLe32(&file[at + 4]);
    ParsedChunk chunk{std::string(file.begin() + at, file.begin() + at + 4), {}};
    chunk.data.assign(file.begin() + at + 8, file.begin() + at + 8 + size);
    chunks.push_back(chunk);
    at += 8 + size + (size & 1);
  }
  return chunks;
}

inline Bytes ChunkData(const Bytes& file, const std::string& id) {
  for (const ParsedChunk& chunk : ChunksOf(file)) {
    if (chunk.id == id) return chunk.data;
  }
  return {};
}

// A valid 16-byte PCM format chunk's data.
inline Bytes PcmFormat(uint16_t channels, uint32_t rate, uint16_t bits) {
  Bytes bytes = {1, 0, static_cast<uint8_t>(channels), 0};
  AppendLe32(bytes, rate);
  AppendLe32(bytes, rate * channels * bits / 8);
  bytes.push_back(static_cast<uint8_t>(channels * bits / 8));
  bytes.push_back(0);
  bytes.push_back(static_cast<uint8_t>(bits));
  bytes.push_back(0);
  return bytes;
}

class SoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HeadlessEnable();
    // The device only asks that a window be given; these tests need none on screen.
    MainWindow = reinterpret_cast<HWND>(&windowStandIn_);
    std::string error;
    const std::optional<std::filesystem::path> folder = MakeTemporaryFolder("zimbrel-sound", &error);
    ASSERT_TRUE(folder) << error;
    folder_ = folder->string();
    ASSERT_EQ(SoundInit(), 1);
  }

  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string PathOf(const std::string& name) const { return folder_ + "/" + name; }

  // Runs sox to make a file: options before the file name, effects after it. The sound is
  // made at 11025 Hz, without dither, then written in the given format.
  std::string Sox(const std::string& name, const std::string& format,
                  const std::string& effects) {
    const std::string path = PathOf(name);
    const std::string command =
        "sox -D -r 11025 -n " + format + " '" + path + "' " + effects + " 2>/dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return path;
  }

  // 16-bit mono 11025 Hz, the format the game's sounds are played in.
  std::string SoxTone(const std::string& name, const std::string& effects) {
    return Sox(name, "-r 11025 -b 16 -c 1 -e signed-integer", effects);
  }

  // A synth length of exactly this many samples at 11025 Hz.
  static std::string Samples(int count) { return std::to_string(count) + "s"; }

  std::string WriteFile(const std::string& name, const Bytes& bytes) {
    WriteBytes(PathOf(name), bytes);
    return PathOf(name);
  }

  std::string folder_;

 private:
  int windowStandIn_ = 0;
};

// Interleaved stereo samples of the captured mix, split and measured.
struct Captured {
  std::vector<int16_t> samples;

  static Captured Take(double seconds) {
    return {AudioCaptureMix(static_cast<int>(std::lround(seconds * AudioMixerRate())))};
  }
  size_t Frames() const { return samples.size() / 2; }
  int16_t At(size_t frame, int channel) const { return samples[2 * frame + channel]; }

  // Root-mean-square level of one channel (0 left, 1 right) between two times in seconds.
  double Rms(int channel, double from = 0.0, double to = 1e9) const {
    const size_t first = static_cast<size_t>(from * AudioMixerRate());
    const size_t last = std::min(Frames(), static_cast<size_t>(to * AudioMixerRate()));
    double sum = 0.0;
    for (size_t i = first; i < last; ++i) sum += double(At(i, channel)) * At(i, channel);
    return last > first ? std::sqrt(sum / double(last - first)) : 0.0;
  }
  // Seconds from the start to the first and to the last sample louder than the threshold;
  // -1 when there is none.
  double FirstLoud(int channel, int threshold = 1000) const {
    for (size_t i = 0; i < Frames(); ++i) {
      if (std::abs(int{At(i, channel)}) > threshold) return double(i) / AudioMixerRate();
    }
    return -1.0;
  }
  double LastLoud(int channel, int threshold = 1000) const {
    for (size_t i = Frames(); i-- > 0;) {
      if (std::abs(int{At(i, channel)}) > threshold) return double(i) / AudioMixerRate();
    }
    return -1.0;
  }
  int PeakAbs(int channel, double from = 0.0, double to = 1e9) const {
    const size_t first = static_cast<size_t>(from * AudioMixerRate());
    const size_t last = std::min(Frames(), static_cast<size_t>(to * AudioMixerRate()));
    int peak = 0;
    for (size_t i = first; i < last; ++i) peak = std::max(peak, std::abs(int{At(i, channel)}));
    return peak;
  }
};

inline double Decibels(double level, double reference) {
  return 20.0 * std::log10(level / reference);
}
