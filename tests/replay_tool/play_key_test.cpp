// A play's key holds a clock reading as the rules take it, the whole seconds since the stage's
// clock started: readings the rules cannot tell apart are one play, and a second's boundary is
// another.
#include <gtest/gtest.h>

#include "platform/seams/play_under_way.h"
#include "replay/play_key.h"

namespace {

constexpr uint32_t kStageClockStart = 70'500;
bool playing = false;

std::string KeyOfAGameReadingTheClockAt(uint32_t sinceTheStageStarted) {
  PlayUnderWayAnswers answers{};
  answers.inPlay = [] { return playing; };
  answers.stageClockStart = [] { return kStageClockStart; };
  AnswerPlayUnderWay(answers);
  ReplayLine reading;
  reading.channel = ReplayChannel::Clock;
  reading.at = {3, 0};
  reading.ms = kStageClockStart + sinceTheStageStarted;
  playing = true;
  PlayKeyHear(reading);
  playing = false;
  PlayKeyHear(ReplayLine{});  // the play has ended
  return PlayKeyOfLastGame();
}

TEST(PlayKey, AReadingCountsByTheWholeSecondsOfItsStage) {
  struct Case {
    uint32_t first, second;
    bool samePlay;
  };
  for (const Case& pair : {Case{0, 999, true}, Case{999, 1000, false}, Case{1000, 1999, true},
                           Case{59'000, 59'999, true}, Case{59'999, 60'000, false}}) {
    const std::string first = KeyOfAGameReadingTheClockAt(pair.first);
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first == KeyOfAGameReadingTheClockAt(pair.second), pair.samePlay)
        << pair.first << " and " << pair.second << " ms into the stage";
  }
}

}  // namespace
