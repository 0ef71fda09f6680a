// The end of a stage on the virtual clock: the time out, the tally and the time bonus, both
// on one frame, and the boss beaten.
#include <gtest/gtest.h>

#include "platform/seams/headless.h"
#include "platform/seams/rules_clock.h"
#include "tests/support/picture_file.h"
#include "tests/support/play_session.h"
#include "tests/support/screen_places.h"
#include "tests/support/state_line_fields.h"

namespace {

using StageEndTest = PlaySession;

constexpr uint32_t kYellow = 0xFFFF00;

// Kills every fly of the stage but `keep`, as swats would have.
void LeaveOnlyFly(int keep) {
  for (int i = 0; i < FlyCount; ++i) {
    if (i == keep) continue;
    FlyTable[i].alive = 0;
    if (BuzzOn[i]) SoundStop(FlyBuzz[i]);
  }
}

// Stage 1 left alone: the seconds count down from 60 to 1 on screen, and on the frame on which
// 60 whole seconds have passed the stage times out; after OK every buzz is silent.
TEST_F(StageEndTest, TheSecondsCountDownAndTheStageTimesOutOnTheSixtiethSecond) {
  StartPlaying();
  ParkFlies();
  std::vector<int> shown;
  for (int frame = 0; frame < 5000 && IntField(Line(), "left") > 0; ++frame) {
    shown.push_back(IntField(Line(), "left"));
    Frames(1);
  }
  ASSERT_EQ(IntField(Line(), "left"), 0);
  ASSERT_GE(shown.size(), 60u);
  EXPECT_EQ(shown.front(), 60);
  EXPECT_EQ(shown.back(), 1);
  for (size_t k = 1; k < shown.size(); ++k) {
    EXPECT_TRUE(shown[k] == shown[k - 1] || shown[k] == shown[k - 1] - 1) << k;
  }
  // The time out read the clock at or past 60 s; the frame before had read it short of that.
  const uint32_t start = StageStartTick;
  EXPECT_GE(static_cast<uint32_t>(IntField(Line(), "tick")) - start, 60000u);
  EXPECT_LT(static_cast<uint32_t>(IntField(lines_[lines_.size() - 2], "tick")) - start, 60000u);

  const CapturedFrame& box = HeadlessLastFrame();
  EXPECT_GT(PictureFile("gfx\\BOK.bmp").ShownIn(box, kOkPicture.x, kOkPicture.y), 0.9);
  const int text = LeftmostOfColour(box, 100, kYellow);
  EXPECT_GE(text, 180);
  EXPECT_LE(text, 184);
  ClickOk();
  EXPECT_EQ(CurrentScreen, ScreenTitle);
  for (int i = 0; i < 7; ++i) EXPECT_FALSE(BuzzOf(i).playing) << i;
}

// A host that holds the rules clock (a browser's hidden page) for longer than the stage lasts
// costs it none of its seconds: they stand still while held, the rules' time goes on from
// where it stood once let go, and the stage times out when its 60 s of that time are up. A
// hold from a moment before the clock's last reading holds it from that reading: it never goes
// back.
TEST_F(StageEndTest, ARulesClockHeldLongerThanTheStageCostsItNoSeconds) {
  StartPlaying();
  ParkFlies();
  Frames(300);
  const int left = IntField(Line(), "left");
  const uint32_t held = IntField(Line(), "tick");
  HoldRulesClock(HeadlessClockNow() - 2000);
  Frames(4000);
  EXPECT_EQ(IntField(Line(), "left"), left);
  EXPECT_EQ(static_cast<uint32_t>(IntField(Line(), "tick")), held);
  ReleaseRulesClock(HeadlessClockNow());
  Frames(1);
  EXPECT_LT(static_cast<uint32_t>(IntField(Line(), "tick")) - held, 100u);
  while (CurrentScreen == ScreenPlay && IntField(Line(), "left") > 0) Frames(1);
  const uint32_t start = StageStartTick;
  EXPECT_GE(static_cast<uint32_t>(IntField(Line(), "tick")) - start, 60000u);
  EXPECT_LT(static_cast<uint32_t>(IntField(lines_[lines_.size() - 2], "tick")) - start, 60000u);
  for (size_t k = 1; k < lines_.size(); ++k) {
    ASSERT_LE(IntField(lines_[k - 1], "tick"), IntField(lines_[k], "tick")) << k;
  }
}

// The last fly of stage 3 swatted with 12 whole seconds left: 120 points of bonus, the tally,
// then stage 4's intro and one more cream. The swat itself is cut short by the OK box.
TEST_F(StageEndTest, TwelveSecondsLeftGiveAHundredAndTwentyAndTheNextStage) {
  StartPlaying();
  PlayFromStage(3);
  ParkFlies();
  LeaveOnlyFly(0);
  MoveCursorTo(300, 200);
  Frames(1);
  const int score = IntField(Line(), "score");
  const int cream = IntField(Line(), "cream");
  HeadlessClockSet(StageStartTick + 23000);
  PutFlyUnderSwatter(0, 300, 200);
  ClickLeft();
  Frames(1);
  const CapturedFrame& box = HeadlessLastFrame();
  const int won = LeftmostOfColour(box, 100, kYellow);
  EXPECT_GE(won, 230);  // "You did it !"
  EXPECT_LE(won, 234);
  const int bonus = LeftmostOfColour(box, 150, kYellow);
  EXPECT_GE(bonus, 220);  // "12 x 10 = 120"
  EXPECT_LE(bonus, 224);
  EXPECT_NE(LeftmostOfColour(box, 200, kYellow), -1);
  EXPECT_EQ(IntField(Line(), "score"), score + 120);
  ClickOk();
  EXPECT_EQ(Stage, 4);
  EXPECT_EQ(IntField(Line(), "cream"), cream + 1);
  EXPECT_GT(PictureFile("gfx\\4.bmp").ShownIn(HeadlessLastFrame(),
                                             (640 - PictureFile("gfx\\4.bmp").Width()) / 2, 293),
            0.9);
}

// The last fly swatted on the very frame the time runs out: the time out's box first, then
// the tally with no bonus and the next stage's intro, and then the title, which the time out
// had already chosen.
TEST_F(StageEndTest, TheTimeOutAndTheLastFlyOnOneFrameShowBothAndEndOnTheTitle) {
  StartPlaying();
  ParkFlies();
  LeaveOnlyFly(0);
  MoveCursorTo(300, 200);
  Frames(1);
  const int score = IntField(Line(), "score");
  HeadlessClockSet(StageStartTick + 60000);
  PutFlyUnderSwatter(0, 300, 200);
  ClickLeft();
  Frames(1);
  const int timeOut = LeftmostOfColour(HeadlessLastFrame(), 100, kYellow);
  EXPECT_GE(timeOut, 180);
  EXPECT_LE(timeOut, 184);
  EXPECT_EQ(LeftmostOfColour(HeadlessLastFrame(), 150, kYellow), -1);
  ClickOk();
  const int bonus = LeftmostOfColour(HeadlessLastFrame(), 150, kYellow);
  EXPECT_GE(bonus, 250);  // "0 x 10 = 0"
  EXPECT_LE(bonus, 254);
  EXPECT_EQ(IntField(Line(), "score"), score);
  ClickOk();
  EXPECT_EQ(Stage, 2);  // the intro
  ClickAway();
  EXPECT_EQ(CurrentScreen, ScreenTitle);
}

// Only the boss's energy ends stage 10. Beaten, it shows the tally over the winner's picture,
// then the closing picture that tells whether the game had a swat of seven or more.
class BossBeaten : public PlaySession, public ::testing::WithParamInterface<bool> {};

TEST_P(BossBeaten, ShowsTheWinnersPictureThenTheClosingPictureThenTheTitle) {
  StartPlaying();
  PlayFromStage(10);
  Frames(5);
  EXPECT_EQ(CurrentScreen, ScreenPlay);  // no fly out is no win
  EXPECT_EQ(Stage, 10);
  MoveCursorTo(300, 150);
  Frames(1);
  BossEnergy = 1;
  if (GetParam()) CurrentGameEntry.swatCounts[7] = 1;
  ClickLeft();
  Frames(1);
  const PictureFile win("gfx\\Win.bmp");
  EXPECT_GT(win.ShownIn(HeadlessLastFrame(), (640 - win.Width()) / 2, (480 - win.Height()) / 2),
            0.7);
  EXPECT_NE(LeftmostOfColour(HeadlessLastFrame(), 150, kYellow), -1);
  ClickOk();
  const PictureFile closing(GetParam() ? "gfx\\welldone.bmp" : "gfx\\loose.bmp");
  EXPECT_GT(closing.ShownIn(HeadlessLastFrame(), 0, 0), 0.99);
  // The game's bonuses beat the default table: the title passes it on to the highscores.
  ASSERT_GT(CurrentGameEntry.score, 0);
  ClickAway();
  EXPECT_EQ(CurrentScreen, ScreenHighscores);
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutASwatOfSevenOrMore, BossBeaten, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& param) {
                           return param.param ? "WellDone" : "Loose";
                         });

}  // namespace
