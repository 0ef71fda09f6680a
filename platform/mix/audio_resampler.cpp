#include "platform/mix/audio_resampler.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// Enough sub-sample positions that rounding to the nearest one is inaudible.
constexpr uint32_t kMaxPhases = 4096;

// Keeps a little below the lower Nyquist frequency so that images stay out of the passband.
constexpr double kCutoff = 0.9;

double Blackman(double x, double halfWidth) {
  const double t = M_PI * x / halfWidth;
  return 0.42 + 0.5 * std::cos(t) + 0.08 * std::cos(2.0 * t);
}

double Sinc(double x) { return x == 0.0 ? 1.0 : std::sin(M_PI * x) / (M_PI * x); }

}  // namespace

void AudioResampler::Configure(int sourceRate, int targetRate) {
  source = static_cast<uint32_t>(std::max(sourceRate, 1));
  target = static_cast<uint32_t>(std::max(targetRate, 1));
  phases = std::min(target / std::gcd(source, target), kMaxPhases);
  phase = 0;
  head = 0;
  std::fill(std::begin(left), std::end(left), 0.0f);
  std::fill(std::begin(right), std::end(right), 0.0f);

  // Cutoff in cycles per source sample, relative to the source's Nyquist frequency.
  const double cutoff = kCutoff * std::min(1.0, static_cast<double>(target) / source);
  table.assign(static_cast<size_t>(phases) * kTaps, 0.0f);
  for (uint32_t p = 0; p < phases; ++p) {
    const double offset = static_cast<double>(p) / phases;
    double coefficients[kTaps];
    double sum = 0.0;
    for (int j = 0; j < kTaps; ++j) {
      // Tap j weighs the source frame j - (kZeroCrossings - 1) frames from the output point.
      const double x = j - (kZeroCrossings - 1) - offset;
      coefficients[j] = std::abs(x) < kZeroCrossings
                            ? cutoff * Sinc(cutoff * x) * Blackman(x, kZeroCrossings)
                            : 0.0;
      sum += coefficients[j];
    }
    // Unit gain at every phase: a steady level passes unchanged.
    for (int j = 0; j < kTaps; ++j) {
      table[p * kTaps + j] = static_cast<float>(coefficients[j] / sum);
    }
  }
}
