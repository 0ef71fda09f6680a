#pragma once
// RIFF WAVE files: 16-bit mono PCM at 11025 samples per second, the way the game plays sounds.
#include <cstdint>
#include <string>
#include <vector>

inline constexpr int kSampleRate = 11025;

bool WriteWav16Mono(const std::string& path, const std::vector<std::int16_t>& samples);
