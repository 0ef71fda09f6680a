#include "tools/sound/synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/sound/wav_file.h"

double Noise::Next() {
  state_ = state_ * 1664525u + 1013904223u;
  return static_cast<double>(state_ >> 8) / static_cast<double>(1u << 23) - 1.0;
}

std::size_t SamplesFor(double seconds) { return static_cast<std::size_t>(std::lround(seconds * kSampleRate)); }

void LowPass(Signal& s, double cutoffHz) {
  const double a = 1.0 - std::exp(-2.0 * std::numbers::pi * cutoffHz / kSampleRate);
  double y = 0;
  for (double& x : s) {
    y += a * (x - y);
    x = y;
  }
}

Signal Resonate(const Signal& s, double centreHz, double bandwidthHz) {
  const double r = std::exp(-std::numbers::pi * bandwidthHz / kSampleRate);
  const double c = 2 * r * std::cos(2 * std::numbers::pi * centreHz / kSampleRate);
  const double gain = 1 - r;
  Signal out(s.size());
  double y1 = 0, y2 = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const double y = gain * s[i] + c * y1 - r * r * y2;
    out[i] = y;
    y2 = y1;
    y1 = y;
  }
  return out;
}

std::vector<std::int16_t> Normalise(const Signal& s, double peak) {
  double loudest = 1e-9;
  for (double x : s) loudest = std::max(loudest, std::abs(x));
  const double scale = peak * 32767.0 / loudest;
  std::vector<std::int16_t> out(s.size());
  std::transform(s.begin(), s.end(), out.begin(),
                 [scale](double x) { return static_cast<std::int16_t>(std::lround(x * scale)); });
  return out;
}
