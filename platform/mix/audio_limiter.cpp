#include "platform/mix/audio_limiter.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kAttackSeconds = 0.001;  // time constant of the gain coming down
// Longer than a period of the lowest buzz, so the gain does not rise between its peaks.
constexpr double kHoldSeconds = 0.02;
// The rise aims this far above 1 and stops at 1, so it gets there in a bounded time.
constexpr double kReleaseOvershoot = 0.05;

// Where a level above the knee ends up: bent smoothly (slope 1 at the knee) towards the ceiling.
float Bend(float level) {
  constexpr float kRoom = AudioLimiter::kCeiling - AudioLimiter::kKnee;
  return AudioLimiter::kKnee + kRoom * std::tanh((level - AudioLimiter::kKnee) / kRoom);
}

// The gain that brings a frame whose louder channel is at level to its bent level.
float GainFor(float level) { return level > AudioLimiter::kKnee ? Bend(level) / level : 1.0f; }

}  // namespace

void AudioLimiter::Configure(int rate) {
  const double frames = std::max(rate, 1);
  attack = static_cast<float>(1.0 - std::exp(-1.0 / (kAttackSeconds * frames)));
  holdFrames = static_cast<uint32_t>(std::lround(kHoldSeconds * frames));
  // From a gain of 0 the rise must reach 1 in the rest of the release time: the distance to
  // the aim shrinks from 1 + overshoot to overshoot. One frame spare for the rounding.
  const double riseFrames = std::max(1.0, (kReleaseSeconds - kHoldSeconds) * frames - 1.0);
  release = static_cast<float>(
      1.0 - std::pow(kReleaseOvershoot / (1.0 + kReleaseOvershoot), 1.0 / riseFrames));
  gain = 1.0f;
  holdLeft = 0;
}

void AudioLimiter::Process(float* samples, int frames) {
  for (int i = 0; i < frames; ++i) {
    float& left = samples[2 * i];
    float& right = samples[2 * i + 1];
    const float level = std::max(std::abs(left), std::abs(right));
    const float wanted = GainFor(level);
    if (wanted < gain) {
      gain += (wanted - gain) * attack;
      holdLeft = holdFrames;
    } else if (holdLeft > 0) {
      --holdLeft;
    } else if (gain < 1.0f) {
      gain = std::min(1.0f, gain + (1.0f + static_cast<float>(kReleaseOvershoot) - gain) * release);
    }
    // The attack is not instant: until it has caught up, the knee's own gain bends the frame.
    // At rest both are exactly 1 and the frame passes bit for bit.
    const float applied = std::min(gain, wanted);
    left *= applied;
    right *= applied;
  }
}
