#include "tests/support/autoplayed_game.h"

#include <filesystem>
#include <random>

#include "game/state_line.h"
#include "platform/sdl/audio_mixer.h"
#include "tests/support/state_line_fields.h"
#include "tools/autoplay/scripted_player.h"

void DamageEvery(const char* sub, const std::function<Bytes(const Bytes&)>& damage) {
  for (const auto& entry : std::filesystem::directory_iterator(sub)) {
    const Bytes original = FileBytes(entry.path());
    std::filesystem::remove(entry.path());
    WriteBytes(entry.path(), damage(original));
  }
}

Bytes RandomBytesLike(const Bytes& original) {
  Bytes bytes(original.size());
  std::mt19937 bits(static_cast<unsigned>(original.size()));
  for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(bits());
  return bytes;
}

void AutoplayedGame::Begin(const std::set<std::string>& leftOut,
                           const std::function<void()>& damage) {
  CollectStateLines(&lines_);
  ScriptedPlayerStart(ScriptedPlayerOptions{});
  SetDeviceReadHook(ScriptedPlayerAnswer);
  folder_ = EnterRunFolder(leftOut);
  damage();
  driver_.Start();
  ASSERT_TRUE(driver_.RunFlips(1));
}

void AutoplayedGame::PlayOn() {
  driver_.RunUntil([this] {
    if (driver_.LastYield() == YieldPoint::Flip) {
      for (int16_t sample : AudioCaptureMix(AudioMixerRate() / 60)) heard_ |= sample != 0;
    }
    return false;
  });
  ASSERT_TRUE(driver_.Finished());
}

void AutoplayedGame::ExpectPlayedToItsEnd() const {
  ASSERT_FALSE(lines_.empty());
  EXPECT_EQ(driver_.ExitCode(), 0);
  EXPECT_EQ(IntField(lines_.back(), "screen"), 0);
  EXPECT_EQ(IntField(lines_.back(), "stage"), 10);
  EXPECT_EQ(FileBytes("Highscore.dat").size(), 400u);
}
