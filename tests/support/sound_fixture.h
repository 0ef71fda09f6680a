// The sound tests' fixture, SoundTest: the game's sound device open on the headless backend,
// and a scratch folder of WAV files made by sox or written byte by byte.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "sound/sound_slots.h"
#include "tests/support/file_bytes.h"

class SoundTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::string PathOf(const std::string& name) const { return folder_ + "/" + name; }

  // Runs sox to make a file: options before the file name, effects after it. The sound is
  // made at 11025 Hz, without dither, then written in the given format.
  std::string Sox(const std::string& name, const std::string& format, const std::string& effects);
  // 16-bit mono 11025 Hz, the format the game's sounds are played in.
  std::string SoxTone(const std::string& name, const std::string& effects);
  // A synth length of exactly this many samples at 11025 Hz.
  static std::string Samples(int count) { return std::to_string(count) + "s"; }

  // Writes the file into the scratch folder and gives its path.
  std::string WriteFile(const std::string& name, const Bytes& bytes);

  std::string folder_;

 private:
  int windowStandIn_ = 0;
};
