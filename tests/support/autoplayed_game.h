// A whole game played by the scripted player in a run folder whose files a test has damaged
// first: the state line of every flip kept, and whether anything was heard on the way.
#pragma once

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "game/state_line.h"
#include "platform/sdl/audio_mixer.h"
#include "tests/support/game_session.h"
#include "tests/support/highscore_bytes.h"
#include "tests/support/state_line_fields.h"
#include "tools/autoplay/scripted_player.h"

// Writes over every file of the run folder's gfx or snd what `damage` makes of its bytes.
inline void DamageEvery(const char* sub, const std::function<Bytes(const Bytes&)>& damage) {
  for (const auto& entry : std::filesystem::directory_iterator(sub)) {
    const Bytes original = FileBytes(entry.path());
    std::filesystem::remove(entry.path());
    WriteBytes(entry.path(), damage(original));
  }
}

// As many random bytes as the file held; the same for the same length.
inline Bytes RandomBytesLike(const Bytes& original) {
  Bytes bytes(original.size());
  std::mt19937 bits(static_cast<unsigned>(original.size()));
  for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(bits());
  return bytes;
}

class AutoplayedGame : public GameSession {
 protected:
  // Prepares the run folder and starts the game, up to its first flip.
  void Begin(const std::set<std::string>& leftOut, const std::function<void()>& damage = [] {}) {
    CollectStateLines(&lines_);
    ScriptedPlayerStart(ScriptedPlayerOptions{});
    SetDeviceReadHook(ScriptedPlayerAnswer);
    folder_ = EnterRunFolder(leftOut);
    damage();
    driver_.Start();
    ASSERT_TRUE(driver_.RunFlips(1));
  }
  // Plays on to the end of the program, listening at every flip.
  void PlayOn() {
    driver_.RunUntil([this] {
      if (driver_.LastYield() == YieldPoint::Flip) {
        for (int16_t sample : AudioCaptureMix(AudioMixerRate() / 60)) heard_ |= sample != 0;
      }
      return false;
    });
    ASSERT_TRUE(driver_.Finished());
  }
  // Ended as a whole game does: the ten stages played, back on the title, the table kept.
  void ExpectPlayedToItsEnd() const {
    ASSERT_FALSE(lines_.empty());
    EXPECT_EQ(driver_.ExitCode(), 0);
    EXPECT_EQ(IntField(lines_.back(), "screen"), 0);
    EXPECT_EQ(IntField(lines_.back(), "stage"), 10);
    EXPECT_EQ(FileBytes("Highscore.dat").size(), 400u);
  }

  std::vector<std::string> lines_;
  bool heard_ = false;
};
