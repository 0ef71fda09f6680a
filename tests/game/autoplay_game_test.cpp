// The scripted player plays a whole game headless, through the devices' reads alone; the test
// follows it flip by flip and works out from what it saw what the game must have scored.
#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "game/state_line.h"
#include "scores/highscore_file.h"
#include "scores/highscore_table.h"
#include "tests/support/file_bytes.h"
#include "tests/support/game_session.h"
#include "tests/support/state_line_fields.h"
#include "tools/autoplay/scripted_player.h"

namespace {

struct Tally {
  int64_t score = 0;
  int32_t counts[8] = {};
  int stagesWon = 0;
  int escapes = 0;
  int bossHits = 0;
};

// One swat as seen from its first frame to its last active one.
struct OpenSwat {
  bool open = false;
  int targets = 0;
};

bool InBossBox(const std::vector<int>& cursor) {
  return cursor[0] >= 242 && cursor[0] <= 362 && cursor[1] >= 82 && cursor[1] <= 216;
}

int SwatPoints(int targets) {
  static constexpr int kPoints[8] = {-100, 100, 500, 2000, 5000, 9000, 14000, 20000};
  return targets >= 8 ? 10000 * targets - 50000 : kPoints[targets];
}

// Works through the lines of one game: every scored swat with the targets it met, every
// escape, and the bonus of every stage won.
Tally Follow(const std::vector<std::string>& lines) {
  Tally tally;
  OpenSwat swat;
  for (size_t k = 1; k < lines.size(); ++k) {
    const std::string& before = lines[k - 1];
    const std::string& now = lines[k];
    const int stage = IntField(now, "stage");
    if (IntField(before, "screen") != 3 || IntField(now, "screen") != 3) continue;
    if (IntField(before, "stage") != stage) {
      tally.score += 10 * IntField(before, "left");  // the won stage's tally
      ++tally.stagesWon;
      swat = OpenSwat{};
      continue;
    }
    // Only a play frame runs the rules, and every play frame draws a number for the wasp; the
    // flips of an OK box draw none.
    if (IntField(now, "rand") == IntField(before, "rand")) continue;
    const std::vector<int> cursor = IntsField(now, "cursor");
    // A swat starts with its timer at 10; when the frame ends in an OK box, the box's own
    // mouse read has already counted it down once more.
    const bool started = cursor[2] == 1 && cursor[3] > 0 && IntsField(before, "cursor")[3] <= 0;
    if (started) swat = OpenSwat{true, 0};
    const bool bossHit = started && stage == 10 && IntsField(before, "boss")[1] == 0 &&
                         InBossBox(cursor);
    const int escapes =
        IntsField(now, "boss")[0] - IntsField(before, "boss")[0] + (bossHit ? 1 : 0);
    std::map<int, bool> aliveNow;
    for (const FlyAt& fly : Flies(now)) aliveNow[fly.index] = true;
    int vanished = 0;
    for (const FlyAt& fly : Flies(before)) vanished += aliveNow.count(fly.index) ? 0 : 1;
    const bool waspSwatted = Field(before, "wasp") != "-" && Field(now, "wasp") == "-" &&
                             IntsField(before, "wasp")[0] > 15;
    tally.escapes += escapes;
    tally.bossHits += bossHit;
    tally.score -= 100 * escapes;
    if (swat.open) swat.targets += vanished - escapes + (waspSwatted ? 1 : 0) + (bossHit ? 1 : 0);
    if (swat.open && cursor[2] == 1 && cursor[3] == 1) {
      tally.score += SwatPoints(swat.targets);
      tally.counts[std::min(swat.targets, 7)] += 1;
      swat = OpenSwat{};
    }
  }
  // The boss's tally: the last line of the game's play, the closing picture.
  for (size_t k = lines.size(); k-- > 0;) {
    if (IntField(lines[k], "screen") == 3) {
      tally.score += 10 * IntField(lines[k], "left");
      ++tally.stagesWon;
      break;
    }
  }
  return tally;
}

class AutoplayTest : public GameSession {
 protected:
  void SetUp() override {
    CollectStateLines(&lines_);
    ScriptedPlayerOptions options;
    options.name = "Q7X";
    ScriptedPlayerStart(options);
    SetDeviceReadHook(ScriptedPlayerAnswer);
  }
  std::vector<std::string> lines_;
};

TEST_F(AutoplayTest, AWholeGameScoresWhatItsSwatsBonusesAndEscapesAddUpTo) {
  StartGame();
  RunToTheEnd();
  EXPECT_EQ(driver_.ExitCode(), 0);
  EXPECT_EQ(IntField(lines_.back(), "screen"), 0);  // out through the exit picture

  const Tally tally = Follow(lines_);
  EXPECT_EQ(tally.stagesWon, 10);
  EXPECT_GE(tally.bossHits, 50);
  EXPECT_EQ(tally.bossHits - tally.escapes, 50);

  FillDefaultHighscores();
  HighscoreEntry& expected = HighscoreTable[0];
  std::memcpy(expected.name, "Q7X", 4);
  expected.score = static_cast<int32_t>(tally.score);
  std::memcpy(expected.swatCounts, tally.counts, sizeof tally.counts);
  uint8_t bytes[kHighscoreFileBytes];
  EncodeHighscores(bytes);
  EXPECT_EQ(FileBytes("Highscore.dat"), Bytes(bytes, bytes + sizeof bytes));

  std::printf("score %lld, counts %d,%d,%d,%d,%d,%d,%d,%d, escapes %d, flips %zu\n",
              static_cast<long long>(tally.score), tally.counts[0], tally.counts[1],
              tally.counts[2], tally.counts[3], tally.counts[4], tally.counts[5],
              tally.counts[6], tally.counts[7], tally.escapes, lines_.size());
}

}  // namespace
