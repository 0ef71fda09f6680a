// The rate conversion from the sounds' 11025 Hz to the device's rate.
#include "platform/mix/audio_resampler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

struct SineFit {
  double amplitudeDb;  // of the fitted sine against the input's
  double residualDb;   // what the fit leaves over, against the input's level
};

// Converts one second of a sine and fits a sine of the same frequency to the output.
SineFit ConvertSine(int targetRate, double frequency) {
  AudioResampler resampler;
  resampler.Configure(11025, targetRate);
  const double amplitude = 10000.0;
  long n = 0;
  std::vector<float> out(2 * static_cast<size_t>(targetRate));
  resampler.Render(out.data(), targetRate, [&](float* left, float* right) {
    *left = static_cast<float>(amplitude * std::sin(2 * std::numbers::pi * frequency * double(n++) / 11025));
    *right = -*left;
  });
  const double omega = 2 * std::numbers::pi * frequency / targetRate;
  const size_t first = static_cast<size_t>(targetRate / 100);  // past the filter's start-up
  double ss = 0, sc = 0, cc = 0, xs = 0, xc = 0;
  for (size_t i = first; i < out.size() / 2; ++i) {
    const double s = std::sin(omega * double(i));
    const double c = std::cos(omega * double(i));
    ss += s * s, sc += s * c, cc += c * c, xs += out[2 * i] * s, xc += out[2 * i] * c;
    EXPECT_EQ(out[2 * i + 1], -out[2 * i]);
  }
  const double det = ss * cc - sc * sc;
  const double a = (xs * cc - xc * sc) / det;
  const double b = (xc * ss - xs * sc) / det;
  double residual = 0;
  for (size_t i = first; i < out.size() / 2; ++i) {
    const double e = out[2 * i] - a * std::sin(omega * double(i)) - b * std::cos(omega * double(i));
    residual += e * e;
  }
  residual = std::sqrt(residual / double(out.size() / 2 - first));
  return {20 * std::log10(std::hypot(a, b) / amplitude),
          20 * std::log10(residual / (amplitude / std::numbers::sqrt2))};
}

TEST(AudioResamplerTest, SinesPassCleanlyToEveryDeviceRate) {
  for (int rate : {22050, 44100, 48000, 44101, 96000}) {
    for (double frequency : {100.0, 1000.0, 3000.0}) {
      SCOPED_TRACE(::testing::Message() << rate << " Hz, tone " << frequency);
      const SineFit fit = ConvertSine(rate, frequency);
      EXPECT_NEAR(fit.amplitudeDb, 0.0, 0.1);
      EXPECT_LT(fit.residualDb, -70.0);
    }
  }
}

TEST(AudioResamplerTest, ASteadyLevelPassesUnchanged) {
  AudioResampler resampler;
  resampler.Configure(11025, 48000);
  std::vector<float> out(2 * 4800);
  resampler.Render(out.data(), 4800, [](float* left, float* right) {
    *left = 1000.0f;
    *right = -500.0f;
  });
  for (size_t i = 200; i < 4800; ++i) {
    ASSERT_NEAR(out[2 * i], 1000.0f, 0.01f) << i;
    ASSERT_NEAR(out[2 * i + 1], -500.0f, 0.01f) << i;
  }
}

}  // namespace
