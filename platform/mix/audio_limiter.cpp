#include "platform/mix/audio_limiter.h"

#include <algorithm>
#include <cmath>

namespace {

// The rise aims this far above 1 and stops at 1, so it gets there in a bounded time.
constexpr double kReleaseOvershoot = 0.05;

// Whether a sample rounds to a 16-bit value.
bool Fits(float sample) { return sample > -32768.5f && sample < 32767.5f; }

// The gain a frame asks for: 1 when both its samples fit, else what brings the louder to the
// ceiling.
float NeedOf(float left, float right) {
  if (Fits(left) && Fits(right)) return 1.0f;
  return AudioLimiter::kCeiling / std::max(std::abs(left), std::abs(right));
}

}  // namespace

void AudioLimiter::Configure(int rate) {
  const double frames = std::max(rate, 1);
  latency = std::max(1, static_cast<int>(std::lround(kLookAheadSeconds * frames)));
  const int hold = static_cast<int>(std::lround(kHoldSeconds * frames));
  // From a gain of 0 the rise must reach 1 in what is left of the release time once the hold
  // and the look-ahead have passed: the distance to the aim shrinks from 1 + overshoot to the
  // overshoot. One frame spare for the rounding.
  const double riseFrames =
      std::max(1.0, kReleaseSeconds * frames - hold - 2.0 * latency - 1.0);
  release = static_cast<float>(
      1.0 - std::pow(kReleaseOvershoot / (1.0 + kReleaseOvershoot), 1.0 / riseFrames));
  delayed.assign(2 * static_cast<size_t>(latency), 0.0f);
  delayedAt = 0;
  const size_t window = static_cast<size_t>(hold + latency + 1);
  queueGain.assign(window, 1.0f);
  queueFrame.assign(window, 0);
  queueHead = 0;
  queueSize = 0;
  recentHolds.assign(static_cast<size_t>(latency) + 1, 1.0f);
  recentAt = 0;
  recentSum = static_cast<double>(recentHolds.size());
  recentBelowOne = 0;
  frame = 0;
  gain = 1.0f;
}

// Adds a frame's gain to the queue, dropping the gains it makes irrelevant (larger ones before
// it) and the one that has left the window.
void AudioLimiter::PushNeed(float need) {
  const int capacity = static_cast<int>(queueGain.size());
  while (queueSize > 0) {
    const int back = (queueHead + queueSize - 1) % capacity;
    if (queueGain[back] < need) break;
    --queueSize;
  }
  const int slot = (queueHead + queueSize) % capacity;
  queueGain[slot] = need;
  queueFrame[slot] = frame;
  ++queueSize;
  if (frame - queueFrame[queueHead] >= static_cast<uint64_t>(capacity)) {
    queueHead = (queueHead + 1) % capacity;
    --queueSize;
  }
}

// The average of the window's smallest gains over the look-ahead: exactly 1 when all were 1.
float AudioLimiter::TargetGain() {
  const float hold = queueGain[queueHead];
  float& oldest = recentHolds[recentAt];
  recentBelowOne += (hold < 1.0f) - (oldest < 1.0f);
  recentSum += static_cast<double>(hold) - oldest;
  oldest = hold;
  recentAt = (recentAt + 1) % static_cast<int>(recentHolds.size());
  if (recentBelowOne == 0) {
    recentSum = static_cast<double>(recentHolds.size());
    return 1.0f;
  }
  return static_cast<float>(recentSum / static_cast<double>(recentHolds.size()));
}

void AudioLimiter::Process(float* samples, int frames) {
  for (int i = 0; i < frames; ++i) {
    float& left = samples[2 * i];
    float& right = samples[2 * i + 1];
    PushNeed(NeedOf(left, right));
    const float target = TargetGain();
    if (target <= gain) {
      gain = target;
    } else {
      gain = std::min(target, gain + (1.0f + static_cast<float>(kReleaseOvershoot) - gain) * release);
    }
    // The frame that came in latency frames ago goes out, at the gain its whole look-ahead
    // and hold allow; the new one waits in its place.
    float& waitingLeft = delayed[2 * static_cast<size_t>(delayedAt)];
    float& waitingRight = delayed[2 * static_cast<size_t>(delayedAt) + 1];
    const float inLeft = left;
    const float inRight = right;
    left = waitingLeft * gain;
    right = waitingRight * gain;
    waitingLeft = inLeft;
    waitingRight = inRight;
    delayedAt = (delayedAt + 1) % latency;
    ++frame;
  }
}
