#pragma once
// RIFF WAVE files: 16-bit mono PCM at 11025 samples per second, the way the game plays sounds.
#include <cstdint>
#include <string>
#include <vector>

inline constexpr int kSampleRate = 11025;

bool WriteWav16Mono(const std::string& path, const std::vector<std::int16_t>& samples);

// The 44 bytes before the samples of a 16-bit PCM file, for writers that stream their samples.
std::vector<std::uint8_t> WavHeader16(std::uint32_t dataBytes, int channels, int rate);
