// The limiter on the summed mix: what stays below its knee passes bit for bit, what goes above
// never reaches the ceiling, both channels always share one gain, and after a loud stretch
// the gain holds while it lasts and is exactly 1 again within the release time.
#include "platform/mix/audio_limiter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr int kRates[] = {22050, 44100, 48000, 96000};

// Interleaved stereo: a sine on the left and the same at rightShare of it on the right.
std::vector<float> Sine(int rate, double seconds, double frequency, double peak,
                        double rightShare = 1.0) {
  const size_t frames = static_cast<size_t>(seconds * rate);
  std::vector<float> samples(2 * frames);
  for (size_t i = 0; i < frames; ++i) {
    samples[2 * i] = static_cast<float>(
        peak * std::sin(2 * std::numbers::pi * frequency * double(i) / rate));
    samples[2 * i + 1] = static_cast<float>(rightShare) * samples[2 * i];
  }
  return samples;
}

std::vector<float> Limited(AudioLimiter& limiter, std::vector<float> samples) {
  limiter.Process(samples.data(), static_cast<int>(samples.size() / 2));
  return samples;
}

TEST(AudioLimiterTest, FramesUpToTheKneePassBitForBit) {
  for (int rate : kRates) {
    SCOPED_TRACE(rate);
    AudioLimiter limiter;
    limiter.Configure(rate);
    // 250 Hz at 44.1 kHz and above puts frames on the very crest; the knee is included.
    std::vector<float> quiet = Sine(rate, 0.2, 250.0, AudioLimiter::kKnee, -0.5);
    quiet[2 * 100] = AudioLimiter::kKnee;
    quiet[2 * 101 + 1] = -AudioLimiter::kKnee;
    EXPECT_EQ(Limited(limiter, quiet), quiet);
    EXPECT_EQ(limiter.gain, 1.0f);
  }
}

TEST(AudioLimiterTest, ALoudSoundStaysBelowTheCeilingWithOneSteadyGainOnBothChannels) {
  for (int rate : kRates) {
    for (double peak : {1.2 * AudioLimiter::kKnee, 3.0 * AudioLimiter::kKnee, 1e6}) {
      SCOPED_TRACE(::testing::Message() << rate << " Hz, peak " << peak);
      AudioLimiter limiter;
      limiter.Configure(rate);
      // 60 Hz, as low as the game's buzzes go, panned: the right channel at -10 dB.
      const double rightShare = std::pow(10.0, -0.5);
      const std::vector<float> loud = Sine(rate, 0.3, 60.0, peak, rightShare);
      const std::vector<float> out = Limited(limiter, loud);
      float highest = 0.0f;
      float lowestGain = 1.0f;
      float highestGain = 0.0f;
      for (size_t i = 0; i < out.size() / 2; ++i) {
        highest = std::max({highest, std::abs(out[2 * i]), std::abs(out[2 * i + 1])});
        if (std::abs(loud[2 * i]) < 0.2 * peak) continue;
        ASSERT_NEAR(out[2 * i + 1] / out[2 * i], rightShare, 1e-5) << i;
        // Past the first 50 ms the gain neither ripples with the wave nor pumps.
        if (i < static_cast<size_t>(rate) / 20) continue;
        const float gain = out[2 * i] / loud[2 * i];
        lowestGain = std::min(lowestGain, gain);
        highestGain = std::max(highestGain, gain);
      }
      EXPECT_LE(std::lrint(highest), AudioLimiter::kCeiling);  // as the 16-bit mix rounds it
      EXPECT_GT(highest, AudioLimiter::kKnee);
      EXPECT_LT(highestGain / lowestGain, 1.005f);
    }
  }
}

TEST(AudioLimiterTest, AfterALoudBurstTheGainHoldsThenIsBackToOneWithinTheReleaseTime) {
  for (int rate : kRates) {
    for (double burstPeak : {1.1 * AudioLimiter::kKnee, 1e7}) {
      SCOPED_TRACE(::testing::Message() << rate << " Hz, burst " << burstPeak);
      AudioLimiter limiter;
      limiter.Configure(rate);
      // 30 ms of a loud square wave, its last loud frame the last of the burst.
      std::vector<float> burst(2 * static_cast<size_t>(rate * 0.03));
      for (size_t i = 0; i < burst.size(); ++i) {
        burst[i] = static_cast<float>((i / 2 / 40) % 2 ? -burstPeak : burstPeak);
      }
      Limited(limiter, burst);
      ASSERT_LT(limiter.gain, 1.0f);

      // Then a quieter sound: still turned down 10 ms on, as itself from the release time on.
      const std::vector<float> quiet = Sine(rate, 0.3, 440.0, 0.8 * AudioLimiter::kKnee);
      const std::vector<float> out = Limited(limiter, quiet);
      const size_t tenMs = static_cast<size_t>(rate) / 100;
      EXPECT_LT(std::abs(out[2 * tenMs + 1]), std::abs(quiet[2 * tenMs + 1]));
      const size_t released =
          static_cast<size_t>(std::ceil(AudioLimiter::kReleaseSeconds * rate)) - 1;
      EXPECT_TRUE(std::equal(out.begin() + 2 * released, out.end(), quiet.begin() + 2 * released));
      EXPECT_EQ(limiter.gain, 1.0f);
    }
  }
}

}  // namespace
