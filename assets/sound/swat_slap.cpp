// A sharp crack of plastic on the table with a short low thump underneath.
#include <cmath>
#include <numbers>

#include "assets/sound/sounds.h"
#include "tools/sound/wav_file.h"

Signal MakeSwatSlap() {
  const std::size_t n = SamplesFor(0.25);
  Noise noise(0x5A7u);
  Signal crack(n);
  for (double& x : crack) x = noise.Next();
  Signal body = crack;
  LowPass(body, 600);
  for (std::size_t i = 0; i < n; ++i) crack[i] -= body[i];  // keep the bright part
  const Signal snap = Resonate(crack, 2300, 900);
  Signal out(n);
  double phase = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double attack = std::min(1.0, t / 0.0015);
    const double crackEnv = attack * std::exp(-t / 0.016);
    phase += 2 * std::numbers::pi * (70 + 110 * std::exp(-t / 0.03)) / kSampleRate;
    const double thump = std::sin(phase) * attack * std::exp(-t / 0.045);
    out[i] = crackEnv * (0.8 * crack[i] + 5.0 * snap[i]) + 0.55 * thump;
  }
  return out;
}
