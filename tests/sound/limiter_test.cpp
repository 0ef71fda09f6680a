// The limiter on the summed mix: what fits the 16-bit range comes out bit for bit (a look-ahead
// later), what would clip is brought under full scale with one gain on both channels, and
// after a loud stretch the gain holds while it lasts and is exactly 1 again within the release
// time.
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

// What comes out for these samples, moved back by the look-ahead so that frame i is frame i.
std::vector<float> Limited(AudioLimiter& limiter, std::vector<float> samples) {
  const size_t delay = 2 * static_cast<size_t>(limiter.latency);
  samples.resize(samples.size() + delay, 0.0f);
  limiter.Process(samples.data(), static_cast<int>(samples.size() / 2));
  samples.erase(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(delay));
  return samples;
}

// Right up to the edge of the 16-bit range (32767.49 rounds to 32767, -32768.49 to -32768), on
// either channel alone or both, every sample comes out as it went in; half a step further a
// single frame is bent, and with it only the frames within the look-ahead and hold around it.
TEST(AudioLimiterTest, WhatFitsTheSixteenBitRangePassesBitForBitAndOneSampleBeyondIsBent) {
  for (int rate : kRates) {
    SCOPED_TRACE(rate);
    AudioLimiter limiter;
    limiter.Configure(rate);
    std::vector<float> fits = Sine(rate, 0.2, 250.0, 32767.0, -0.5);
    fits[2 * 100] = 32767.49f;
    fits[2 * 101 + 1] = -32768.49f;
    fits[2 * 102] = -32768.49f;
    fits[2 * 102 + 1] = 32767.49f;
    EXPECT_EQ(Limited(limiter, fits), fits);
    EXPECT_EQ(limiter.gain, 1.0f);

    std::vector<float> clips = fits;
    const size_t at = static_cast<size_t>(rate) / 10;
    clips[2 * at + 1] = 32767.5f;
    const std::vector<float> out = Limited(limiter, clips);
    EXPECT_LE(std::abs(out[2 * at + 1]), AudioLimiter::kCeiling);
    const size_t reach = static_cast<size_t>(limiter.latency);
    EXPECT_TRUE(std::equal(out.begin(), out.begin() + 2 * (at - reach), clips.begin()));
    EXPECT_NE(out[2 * (at - reach)], clips[2 * (at - reach)]);
  }
}

TEST(AudioLimiterTest, ALoudSoundStaysBelowFullScaleWithOneSteadyGainOnBothChannels) {
  for (int rate : kRates) {
    for (double peak : {32768.5, 1.5 * 32767, 3.0 * 32767, 1e6}) {
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
        // A frame that would clip comes out at the ceiling at most; one that fits, no louder.
        const float in = loud[2 * i];
        const bool fits = in > -32768.5f && in < 32767.5f;
        ASSERT_LE(std::abs(out[2 * i]), fits ? std::abs(in) : AudioLimiter::kCeiling) << i;
        highest = std::max({highest, std::abs(out[2 * i]), std::abs(out[2 * i + 1])});
        if (std::abs(loud[2 * i]) < 0.2 * peak) continue;
        ASSERT_NEAR(out[2 * i + 1] / out[2 * i], rightShare, 1e-5) << i;
        // Past the first 50 ms the gain neither ripples with the wave nor pumps.
        if (i < static_cast<size_t>(rate) / 20) continue;
        const float gain = out[2 * i] / loud[2 * i];
        lowestGain = std::min(lowestGain, gain);
        highestGain = std::max(highestGain, gain);
      }
      EXPECT_GT(highest, 0.99f * AudioLimiter::kCeiling);
      EXPECT_LT(highestGain / lowestGain, 1.005f);
    }
  }
}

TEST(AudioLimiterTest, AfterALoudBurstTheGainHoldsThenIsBackToOneWithinTheReleaseTime) {
  for (int rate : kRates) {
    for (double burstPeak : {40000.0, 1e7}) {
      SCOPED_TRACE(::testing::Message() << rate << " Hz, burst " << burstPeak);
      AudioLimiter limiter;
      limiter.Configure(rate);
      // 30 ms of a loud square wave, its last loud frame the last of the burst; then a
      // quieter sound, which is still turned down 10 ms on and is itself from the release
      // time on.
      std::vector<float> burst(2 * static_cast<size_t>(rate * 0.03));
      for (size_t i = 0; i < burst.size(); ++i) {
        burst[i] = static_cast<float>((i / 2 / 40) % 2 ? -burstPeak : burstPeak);
      }
      const std::vector<float> quiet = Sine(rate, 0.3, 440.0, 20000.0);
      std::vector<float> both = burst;
      both.insert(both.end(), quiet.begin(), quiet.end());
      const std::vector<float> out = Limited(limiter, both);
      const std::vector<float> after(out.begin() + static_cast<std::ptrdiff_t>(burst.size()),
                                     out.end());
      const size_t tenMs = static_cast<size_t>(rate) / 100;
      EXPECT_LT(std::abs(after[2 * tenMs + 1]), std::abs(quiet[2 * tenMs + 1]));
      const size_t released =
          static_cast<size_t>(std::ceil(AudioLimiter::kReleaseSeconds * rate)) - 1;
      EXPECT_TRUE(std::equal(after.begin() + 2 * released, after.end(),
                             quiet.begin() + 2 * released));
      EXPECT_EQ(limiter.gain, 1.0f);
    }
  }
}

}  // namespace
