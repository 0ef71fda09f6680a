// A whole game heard as a player hears it: the scripted player's game, boss included, played
// by zimbrel-replay with its sound written out. At the climax every fly, hit and cry sounds
// at once, and still no sample reaches full scale.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "platform/mix/audio_limiter.h"
#include "tests/support/replay_tool_run.h"
#include "tests/support/run_folder.h"
#include "tests/support/file_bytes.h"
#include "tests/support/riff_bytes.h"

namespace {

TEST(AutoplayGameSoundTest, TheWholeGameWithTheBossNeverReachesFullScale) {
  EnterRunFolder();
  const ReplayToolRun run = RunReplayTool(
      {"autoplay", "game.replay", "--audio", "game.wav", "--lines", "game.lines"});
  ASSERT_EQ(run.exitCode, 0) << run.errors;
  std::istringstream lines(FileText("game.lines"));
  int bossFlips = 0;
  for (std::string line; std::getline(lines, line);) {
    bossFlips += line.find(" screen=3 stage=10 ") != std::string::npos;
  }
  ASSERT_GT(bossFlips, 300);  // ten seconds and more of the boss fight

  const Bytes data = ChunkData(FileBytes("game.wav"), "data");
  ASSERT_GT(data.size(), 4u * 44100 * 15);
  size_t nearFullScale = 0;
  for (size_t i = 0; i + 1 < data.size(); i += 2) {
    const float level = std::abs(static_cast<float>(int16_t(data[i] | data[i + 1] << 8)));
    ASSERT_LE(level, AudioLimiter::kCeiling) << "sample " << i / 2;
    nearFullScale += level > 0.9f * AudioLimiter::kCeiling;
  }
  // Loud enough that the limiter had work to do.
  EXPECT_GT(nearFullScale, 1000u);
}

}  // namespace
