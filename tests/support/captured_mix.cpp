#include "tests/support/captured_mix.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/sdl/audio_mixer.h"

Captured Captured::Take(double seconds) {
  return {AudioCaptureMix(static_cast<int>(std::lround(seconds * AudioMixerRate())))};
}

double Captured::Rms(int channel, double from, double to) const {
  const size_t first = static_cast<size_t>(from * AudioMixerRate());
  const size_t last = std::min(Frames(), static_cast<size_t>(to * AudioMixerRate()));
  double sum = 0.0;
  for (size_t i = first; i < last; ++i) sum += double(At(i, channel)) * At(i, channel);
  return last > first ? std::sqrt(sum / double(last - first)) : 0.0;
}

double Captured::FirstLoud(int channel, int threshold) const {
  for (size_t i = 0; i < Frames(); ++i) {
    if (std::abs(int{At(i, channel)}) > threshold) return double(i) / AudioMixerRate();
  }
  return -1.0;
}

double Captured::LastLoud(int channel, int threshold) const {
  for (size_t i = Frames(); i-- > 0;) {
    if (std::abs(int{At(i, channel)}) > threshold) return double(i) / AudioMixerRate();
  }
  return -1.0;
}

int Captured::PeakAbs(int channel, double from, double to) const {
  const size_t first = static_cast<size_t>(from * AudioMixerRate());
  const size_t last = std::min(Frames(), static_cast<size_t>(to * AudioMixerRate()));
  int peak = 0;
  for (size_t i = first; i < last; ++i) peak = std::max(peak, std::abs(int{At(i, channel)}));
  return peak;
}

double Decibels(double level, double reference) {
  return 20.0 * std::log10(level / reference);
}
