// The Fly King's cry of pain: a voiced "ow" whose pitch jumps up and falls, its vowel gliding
// from an open "a" to a round "u". Built by adding harmonics under moving formant peaks.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "assets/sound/sounds.h"
#include "tools/sound/wav_file.h"

namespace {

struct Formant {
  double startHz, endHz, bandwidthHz, gain;
};

const Formant kFormants[] = {{780, 360, 110, 1.0}, {1250, 760, 130, 0.6}, {2600, 2300, 220, 0.25}};

double Pitch(double t) {
  if (t < 0.05) return 330 + 170 * (t / 0.05);
  return 500 - 260 * std::min(1.0, (t - 0.05) / 0.43);
}

double FormantGain(double hz, double glide) {
  double g = 0;
  for (const Formant& f : kFormants) {
    const double centre = f.startHz + (f.endHz - f.startHz) * glide;
    g += f.gain / (1 + std::pow((hz - centre) / f.bandwidthHz, 2));
  }
  return g;
}

}  // namespace

Signal MakeBossCry() {
  const std::size_t n = SamplesFor(0.5);
  Signal out(n);
  Noise noise(0xA0u);
  double phase = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double f0 = Pitch(t) * (1 + 0.012 * std::sin(2 * std::numbers::pi * 7 * t));
    phase += 2 * std::numbers::pi * f0 / kSampleRate;
    const double glide = std::clamp((t - 0.06) / 0.3, 0.0, 1.0);
    double v = 0;
    for (int k = 1; k * f0 < 5000; ++k) v += FormantGain(k * f0, glide) * std::sin(k * phase) / std::sqrt(k);
    const double envelope = std::min(1.0, t / 0.015) * std::min(1.0, (0.5 - t) / 0.16);
    out[i] = envelope * (v + 0.04 * noise.Next());
  }
  return out;
}
