#pragma once
// Small building blocks for the game's synthesised sounds. Everything is deterministic:
// noise comes from a seeded generator, never from the clock.
#include <cstdint>
#include <vector>

using Signal = std::vector<double>;

class Noise {
 public:
  explicit Noise(std::uint32_t seed) : state_(seed) {}
  double Next();  // uniform in -1..1

 private:
  std::uint32_t state_;
};

std::size_t SamplesFor(double seconds);
// One-pole low-pass with the given cut-off, applied in place.
void LowPass(Signal& s, double cutoffHz);
// Two-pole resonator (band-pass) at centre frequency with the given bandwidth.
Signal Resonate(const Signal& s, double centreHz, double bandwidthHz);
// Scales so that the loudest sample reaches `peak` (of full scale) and converts to 16 bits.
std::vector<std::int16_t> Normalise(const Signal& s, double peak);
