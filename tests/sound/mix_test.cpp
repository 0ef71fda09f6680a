// What a player hears: the captured mix of the sound slots.
#include <cmath>
#include <numbers>

#include "platform/mix/audio_limiter.h"
#include "platform/sdl/audio_mixer.h"
#include "tests/support/captured_mix.h"
#include "tests/support/riff_bytes.h"
#include "tests/support/run_folder.h"
#include "tests/support/sound_fixture.h"

namespace {

// Half of full scale: a sine's RMS level.
constexpr double kToneRms = 16383.5 / std::numbers::sqrt2;
// How long a sound still sounds after it ended or was stopped: the resampler's filter and the
// limiter's look-ahead.
constexpr double kTail = 0.002 + AudioLimiter::kLookAheadSeconds;

class SoundMixTest : public SoundTest {
 protected:
  void SetUp() override {
    SoundTest::SetUp();
    // 100 ms of tone, then 400 ms of silence.
    burst_ = SoxTone("burst.wav", "synth 0.1 sine 441 vol 0.5 pad 0 0.4");
    // Exactly 44 periods: looped, it is one unbroken sine.
    loop_ = SoxTone("loop.wav", "synth " + Samples(1100) + " sine 441 vol 0.5");
    // What an earlier test left playing in the limiter's look-ahead runs out first.
    Captured::Take(0.01);
    ASSERT_EQ(Captured::Take(0.02).PeakAbs(0), 0);
  }

  std::string burst_;
  std::string loop_;
};

TEST_F(SoundMixTest, APlayedSoundSoundsFromItsStartToItsEnd) {
  const int32_t slot = SoundLoadWav(burst_.c_str(), 0);
  ASSERT_EQ(SoundPlay(slot), 1);
  const Captured heard = Captured::Take(0.5);
  EXPECT_LT(heard.FirstLoud(0), 0.002);
  EXPECT_GT(heard.At(static_cast<size_t>(heard.FirstLoud(0) * AudioMixerRate()), 0), 0);
  EXPECT_NEAR(heard.LastLoud(0), 0.1, 0.002);
  EXPECT_NEAR(Decibels(heard.Rms(0, 0.005, 0.095), kToneRms), 0.0, 0.2);
  EXPECT_NEAR(Decibels(heard.Rms(1, 0.005, 0.095), kToneRms), 0.0, 0.2);
  EXPECT_EQ(heard.PeakAbs(0, kTail + 0.1), 0);
  EXPECT_EQ(heard.PeakAbs(1, kTail + 0.1), 0);
}

TEST_F(SoundMixTest, PlayingASoundAgainRestartsIt) {
  const int32_t slot = SoundLoadWav(burst_.c_str(), 0);
  SoundPlay(slot);
  Captured::Take(0.06);
  SoundPlay(slot);
  const Captured heard = Captured::Take(0.3);
  EXPECT_NEAR(heard.LastLoud(0), 0.1, 0.002);
  EXPECT_NEAR(Decibels(heard.Rms(0, 0.005, 0.095), kToneRms), 0.0, 0.2);
}

TEST_F(SoundMixTest, ALoopedSoundRunsOnWithoutAGapOrClickAtTheSeam) {
  const int32_t slot = SoundLoadWav(loop_.c_str(), 0);
  ASSERT_EQ(SoundPlayLooped(slot), 1);
  const Captured heard = Captured::Take(0.5);  // five times round
  // Fit one steady 441 Hz sine to all of it: what it leaves over is any gap or click.
  const double omega = 2.0 * std::numbers::pi * 441.0 / AudioMixerRate();
  const size_t first = static_cast<size_t>(0.005 * AudioMixerRate());
  double ss = 0, sc = 0, cc = 0, xs = 0, xc = 0;
  for (size_t i = first; i < heard.Frames(); ++i) {
    const double s = std::sin(omega * double(i));
    const double c = std::cos(omega * double(i));
    ss += s * s;
    sc += s * c;
    cc += c * c;
    xs += heard.At(i, 0) * s;
    xc += heard.At(i, 0) * c;
  }
  const double det = ss * cc - sc * sc;
  const double a = (xs * cc - xc * sc) / det;
  const double b = (xc * ss - xs * sc) / det;
  double residual = 0.0;
  for (size_t i = first; i < heard.Frames(); ++i) {
    const double e = heard.At(i, 0) - a * std::sin(omega * double(i)) - b * std::cos(omega * double(i));
    residual += e * e;
  }
  residual = std::sqrt(residual / double(heard.Frames() - first));
  EXPECT_NEAR(Decibels(std::hypot(a, b) / std::numbers::sqrt2, kToneRms), 0.0, 0.2);
  EXPECT_LT(Decibels(residual, kToneRms), -50.0);
}

TEST_F(SoundMixTest, StopSilencesASoundAtOnce) {
  const int32_t slot = SoundLoadWav(loop_.c_str(), 0);
  SoundPlayLooped(slot);
  Captured::Take(0.05);
  EXPECT_EQ(SoundStop(slot), 1);
  const Captured heard = Captured::Take(0.1);
  EXPECT_EQ(heard.PeakAbs(0, kTail), 0);
  EXPECT_EQ(heard.PeakAbs(1, kTail), 0);
}

TEST_F(SoundMixTest, StopAllSilencesEverySound) {
  const int32_t first = SoundLoadWav(loop_.c_str(), 0);
  const int32_t second = SoundDuplicate(first);
  SoundPlayLooped(first);
  SoundPlay(second);
  Captured::Take(0.03);
  EXPECT_EQ(SoundStopAll(), 1);
  EXPECT_EQ(Captured::Take(0.1).PeakAbs(0, kTail), 0);
}

TEST_F(SoundMixTest, VolumeFiftyIsFifteenDecibelsBelowVolumeHundred) {
  const int32_t slot = SoundLoadWav(loop_.c_str(), DSBCAPS_CTRLVOLUME);
  SoundPlayLooped(slot);
  const double full = Captured::Take(0.2).Rms(0, 0.01);
  ASSERT_EQ(SoundSetVolume(slot, 50), 1);
  const double half = Captured::Take(0.2).Rms(0, 0.01);
  ASSERT_EQ(SoundSetVolume(slot, 0), 1);
  const double none = Captured::Take(0.2).Rms(1, 0.01);
  EXPECT_NEAR(Decibels(full, kToneRms), 0.0, 0.2);
  EXPECT_NEAR(Decibels(half, full), -15.0, 0.5);
  EXPECT_NEAR(Decibels(none, full), -30.0, 0.5);
}

TEST_F(SoundMixTest, PanAttenuatesTheOtherChannelOnly) {
  const int32_t slot = SoundLoadWav(loop_.c_str(), DSBCAPS_CTRLPAN);
  SoundPlayLooped(slot);
  const double centre = Captured::Take(0.2).Rms(0, 0.01);
  ASSERT_EQ(SoundSetPan(slot, -3000), 1);
  const Captured left = Captured::Take(0.2);
  EXPECT_NEAR(Decibels(left.Rms(0, 0.01), centre), 0.0, 0.5);
  EXPECT_NEAR(Decibels(left.Rms(1, 0.01), centre), -30.0, 0.5);
  ASSERT_EQ(SoundSetPan(slot, 2750), 1);
  const Captured right = Captured::Take(0.2);
  EXPECT_NEAR(Decibels(right.Rms(0, 0.01), centre), -27.5, 0.5);
  EXPECT_NEAR(Decibels(right.Rms(1, 0.01), centre), 0.0, 0.5);
}

TEST_F(SoundMixTest, APositionPastTheEndIsRefusedAndTheSoundPlaysOn) {
  const int32_t slot = SoundLoadWav(burst_.c_str(), 0);
  SoundPlay(slot);
  Captured::Take(0.05);
  EXPECT_EQ(SoundSetPosition(slot, SoundSlots[slot].dataBytes), 0);
  EXPECT_EQ(SoundSetPosition(slot, 50000 + SoundSlots[slot].dataBytes), 0);
  EXPECT_EQ(SoundSetPosition(slot, -2), 0);
  const Captured heard = Captured::Take(0.2);
  EXPECT_NEAR(Decibels(heard.Rms(0, 0.0, 0.048), kToneRms), 0.0, 0.2);
  EXPECT_NEAR(heard.LastLoud(0), 0.05, 0.002);
}

TEST_F(SoundMixTest, APositionInsideTheSoundMovesThePlay) {
  const int32_t slot = SoundLoadWav(burst_.c_str(), 0);
  SoundPlay(slot);
  Captured::Take(0.02);
  // 80 ms into the sound: 20 ms of tone are left.
  EXPECT_EQ(SoundSetPosition(slot, 2 * 882), 1);
  EXPECT_NEAR(Captured::Take(0.2).LastLoud(0), 0.02, 0.002);
}

TEST_F(SoundMixTest, ADuplicatePlaysIndependentlyOfItsSource) {
  const int32_t source = SoundLoadWav(burst_.c_str(), DSBCAPS_CTRLVOLUME);
  const int32_t copy = SoundDuplicate(source);
  ASSERT_EQ(copy, 1);
  // 6 dB down, so that the two together stay below the mix's limiter.
  SoundSetVolume(source, 80);
  SoundSetVolume(copy, 80);
  SoundPlay(source);
  Captured::Take(0.05);
  SoundPlay(copy);
  const Captured both = Captured::Take(0.02);
  EXPECT_GT(Decibels(both.Rms(0, 0.002), kToneRms), 5.0 - 6.0);  // nearly in phase: louder
  SoundStop(source);
  const Captured copyAlone = Captured::Take(0.2);
  EXPECT_NEAR(Decibels(copyAlone.Rms(0, 0.002, 0.075), kToneRms), -6.0, 0.2);
  EXPECT_NEAR(copyAlone.LastLoud(0), 0.08, 0.002);

  // Volume belongs to each buffer.
  SoundSetVolume(source, 100);
  SoundSetVolume(copy, 0);
  SoundPlay(source);
  EXPECT_NEAR(Decibels(Captured::Take(0.09).Rms(0, 0.005), kToneRms), 0.0, 0.2);
  SoundStop(source);
  SoundPlay(copy);
  EXPECT_NEAR(Decibels(Captured::Take(0.09).Rms(0, 0.005), kToneRms), -30.0, 0.5);
}

// The game's hit sound, the loudest it plays alone, at full volume and panned hard to either
// side: the limiter leaves it as it is, so it comes out exactly twice as loud as the same sound
// at half its amplitude, but for their rounding.
TEST_F(SoundMixTest, ALoneHitSoundAtFullVolumeComesOutAsItIsAtEitherPan) {
  EnterRunFolder();
  Bytes halved = ChunkData(FileBytes("snd/Hit.WAV"), "data");
  for (size_t i = 0; i + 1 < halved.size(); i += 2) {
    const auto half = static_cast<uint16_t>(int16_t(halved[i] | halved[i + 1] << 8) / 2);
    halved[i] = static_cast<uint8_t>(half);
    halved[i + 1] = static_cast<uint8_t>(half >> 8);
  }
  const std::string half = WriteFile(
      "half.wav", RiffForm("WAVE", {Chunk("fmt ", PcmFormat(1, 11025, 16)), Chunk("data", halved)}));
  const int32_t full = SoundLoadWav("snd\\Hit.WAV", DSBCAPS_CTRLPAN);
  const int32_t soft = SoundLoadWav(half.c_str(), DSBCAPS_CTRLPAN);
  for (const LONG pan : {DSBPAN_LEFT, DSBPAN_RIGHT}) {
    SCOPED_TRACE(pan);
    const int channel = pan == DSBPAN_LEFT ? 0 : 1;
    SoundSetPan(full, pan);
    SoundPlay(full);
    const Captured loud = Captured::Take(0.4);
    SoundSetPan(soft, pan);
    SoundPlay(soft);
    const Captured quiet = Captured::Take(0.4);
    EXPECT_GT(loud.PeakAbs(channel), 30000);  // far above where a limiter would usually start
    for (size_t i = 0; i < loud.Frames(); ++i) {
      ASSERT_NEAR(loud.At(i, channel), 2 * quiet.At(i, channel), 4) << "frame " << i;
    }
  }
}

TEST_F(SoundMixTest, ManyLoudSoundsStayBelowFullScaleAndTheMixLetsGoAfterThem) {
  const int32_t slot = SoundLoadWav(loop_.c_str(), 0);
  for (int i = 0; i < 5; ++i) SoundDuplicate(slot);
  SoundPlayLooped(0);
  const Captured alone = Captured::Take(0.1);
  for (int32_t s = 1; s < 6; ++s) SoundPlayLooped(s);
  // Six loops in phase: three times full scale, summed.
  const Captured loud = Captured::Take(0.1);
  EXPECT_LT(loud.PeakAbs(0), 32767);
  EXPECT_GT(loud.PeakAbs(0), 30000);
  for (size_t i = 1; i < loud.Frames(); ++i) {
    // A wrap would leap across the whole range between two samples.
    ASSERT_LT(std::abs(loud.At(i, 0) - loud.At(i - 1, 0)), 20000) << i;
  }
  for (int32_t s = 1; s < 6; ++s) SoundStop(s);
  Captured::Take(AudioLimiter::kReleaseSeconds);
  // One loop again, as loud as it was alone: nothing of the limiting is left.
  const Captured after = Captured::Take(0.1);
  EXPECT_EQ(after.PeakAbs(0, 0.0, 0.1), alone.PeakAbs(0, 0.01, 0.1));
  EXPECT_NEAR(Decibels(after.Rms(0, 0.01), alone.Rms(0, 0.01)), 0.0, 0.01);
}

}  // namespace
