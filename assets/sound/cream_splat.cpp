// A soft, wet splat: muffled noise with a quick downward "blop" underneath.
#include <cmath>
#include <numbers>

#include "assets/sound/sounds.h"
#include "tools/sound/wav_file.h"

Signal MakeCreamSplat() {
  const std::size_t n = SamplesFor(0.3);
  Noise noise(0x6011u);
  Signal squish(n);
  for (double& x : squish) x = noise.Next();
  LowPass(squish, 1100);
  LowPass(squish, 1100);
  Signal out(n);
  double phase = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double attack = std::min(1.0, t / 0.008);
    phase += 2 * std::numbers::pi * (80 + 200 * std::exp(-t / 0.04)) / kSampleRate;
    const double blop = std::sin(phase) * attack * std::exp(-t / 0.06);
    const double wet = squish[i] * attack * std::exp(-t / 0.07) * (1 + 0.5 * std::sin(2 * std::numbers::pi * 31 * t));
    out[i] = 0.8 * blop + 2.2 * wet;
  }
  return out;
}
