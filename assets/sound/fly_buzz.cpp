// Two slightly detuned buzzing voices with wing flutter. Every partial, vibrato and flutter
// completes a whole number of cycles in the 4-second loop, so the end runs on into the start.
#include <cmath>
#include <numbers>

#include "assets/sound/sounds.h"
#include "tools/sound/wav_file.h"

namespace {

constexpr double kLoopSeconds = 4.0;
constexpr double kTwoPi = 2 * std::numbers::pi;

// A frequency rounded to a whole number of cycles per loop.
double LoopFrequency(double hz) { return std::round(hz * kLoopSeconds) / kLoopSeconds; }

void AddVoice(Signal& out, double baseHz, double vibratoHz, double depthHz, double gain) {
  const double f0 = LoopFrequency(baseHz);
  const double fv = LoopFrequency(vibratoHz);
  const int harmonics = static_cast<int>(5000 / (f0 + depthHz));
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double phase = kTwoPi * f0 * t - depthHz / fv * std::cos(kTwoPi * fv * t);
    double v = 0;
    for (int k = 1; k <= harmonics; ++k) {
      // A buzzy spectrum with a hump around 1.2 kHz, like wings beating air.
      const double hz = k * f0;
      const double shape = 1.0 / std::pow(k, 0.8) * (1 + 1.5 * std::exp(-std::pow((hz - 1200) / 500, 2)));
      v += shape * std::sin(k * phase);
    }
    out[i] += gain * v;
  }
}

}  // namespace

Signal MakeFlyBuzz() {
  Signal out(SamplesFor(kLoopSeconds));
  AddVoice(out, 190, 5.25, 7, 1.0);
  AddVoice(out, 197.3, 3.5, 9, 0.6);
  const double flutter = LoopFrequency(23.5);
  const double drift = LoopFrequency(0.5);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    out[i] *= (1 + 0.22 * std::sin(kTwoPi * flutter * t)) * (0.8 + 0.2 * std::sin(kTwoPi * drift * t));
  }
  return out;
}
