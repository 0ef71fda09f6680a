// The sound mix as the headless device captured it: interleaved stereo samples, split and
// measured (levels, first and last sounds, peaks) for the tests of the mixer and the slots.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct Captured {
  std::vector<int16_t> samples;

  // The next `seconds` of the mix.
  static Captured Take(double seconds);
  size_t Frames() const { return samples.size() / 2; }
  int16_t At(size_t frame, int channel) const { return samples[2 * frame + channel]; }

  // Root-mean-square level of one channel (0 left, 1 right) between two times in seconds.
  double Rms(int channel, double from = 0.0, double to = 1e9) const;
  // Seconds from the start to the first and to the last sample louder than the threshold;
  // -1 when there is none.
  double FirstLoud(int channel, int threshold = 1000) const;
  double LastLoud(int channel, int threshold = 1000) const;
  int PeakAbs(int channel, double from = 0.0, double to = 1e9) const;
};

double Decibels(double level, double reference);
