// The play screen as the player sees it: the score, the seconds, the boss line, the hurt boss,
// the result pictures, and giving up with Escape.
#include <gtest/gtest.h>

#include "graphics/cursor_images.h"
#include "input/keyboard.h"
#include "tests/support/picture_file.h"
#include "tests/support/play_session.h"
#include "tests/support/screen_places.h"
#include "tests/support/state_line_fields.h"

namespace {

using PlayDisplayTest = PlaySession;

constexpr uint32_t kYellow = 0xFFFF00;
constexpr uint32_t kRed = 0xFF0000;

TEST_F(PlayDisplayTest, TheScoreEndsNearX310WhateverItsLength) {
  StartPlaying();
  ParkFlies();
  for (const auto& [score, x] : {std::pair{0, 300}, {12345, 260}, {-100, 270}}) {
    CurrentGameEntry.score = score;
    Frames(1);
    const int left = LeftmostOfColour(HeadlessLastFrame(), 3, kYellow, 100, 330);
    EXPECT_GE(left, x) << score;
    EXPECT_LE(left, x + 4) << score;
  }
}

TEST_F(PlayDisplayTest, TheBossLineTheHurtBossAndNoPictureForTheBossAlone) {
  StartPlaying();
  PlayFromStage(10);
  EXPECT_GT(LeftmostOfColour(HeadlessLastFrame(), 450, kRed, 255, 400), 0);
  MoveCursorTo(300, 150);
  Frames(1);
  const PictureFile hurt("gfx\\Boss4.bmp");
  const PictureFile oneHit("gfx\\Hit.bmp");
  ClickLeft();
  int hurtFrames = 0;
  int oneHitFrames = 0;
  for (int frame = 0; frame < 20; ++frame) {
    Frames(1);
    hurtFrames += hurt.ShownIn(HeadlessLastFrame(), 100, 0) > 0.9;
    oneHitFrames += oneHit.ShownIn(HeadlessLastFrame(), (640 - oneHit.Width()) / 2,
                                   (480 - oneHit.Height()) / 2) > 0.9;
  }
  EXPECT_EQ(hurtFrames, 11);
  EXPECT_EQ(oneHitFrames, 0);
  EXPECT_EQ(Field(Line(), "counts"), "0,1,0,0,0,0,0,0");
}

TEST_F(PlayDisplayTest, AMissShowsItsPictureOnTenFrames) {
  StartPlaying();
  ParkFlies();
  MoveCursorTo(100, 100);
  Frames(1);
  const PictureFile miss("gfx\\Miss.bmp");
  ClickLeft();
  int shown = 0;
  for (int frame = 0; frame < 30; ++frame) {
    Frames(1);
    shown += miss.ShownIn(HeadlessLastFrame(), 0, 0) > 0.9;
  }
  EXPECT_EQ(shown, 10);
}

// Escape in the middle of a swat: the frame is drawn to its end and shown, then the message and
// the OK box; the swat is neither scored nor counted. A click beside the button only swings
// the swatter.
TEST_F(PlayDisplayTest, EscapeInASwatSurrendersWithoutScoringIt) {
  StartPlaying();
  ParkFlies();
  MoveCursorTo(100, 100);
  Frames(1);
  ClickLeft();
  Frames(3);
  Tap(DIK_ESCAPE);
  Frames(1);  // the frame, finished
  EXPECT_EQ(CurrentScreen, ScreenTitle);
  EXPECT_NE(LeftmostOfColour(HeadlessLastFrame(), 3, kRed, 590, 640), -1);  // the seconds
  Frames(1);  // the OK box
  const PictureFile ok("gfx\\BOK.bmp");
  const CapturedFrame& box = HeadlessLastFrame();
  EXPECT_GT(ok.ShownIn(box, kOkPicture.x, kOkPicture.y), 0.9);
  const int surrender = LeftmostOfColour(box, 100, kYellow);
  EXPECT_GE(surrender, 240);
  EXPECT_LE(surrender, 244);
  EXPECT_EQ(LeftmostOfColour(box, 3, kRed, 590, 640), -1);  // no head-up display in the box

  MoveCursorTo(100, 100);
  ClickLeft();
  Frames(3);
  EXPECT_TRUE(Cursor.swatActive);
  const PictureFile swinging("gfx\\Klatsche2.bmp");
  EXPECT_GT(swinging.ShownIn(HeadlessLastFrame(), Cursor.x, Cursor.y), 0.8);
  Frames(20);
  EXPECT_GT(ok.ShownIn(HeadlessLastFrame(), kOkPicture.x, kOkPicture.y), 0.9);

  ClickOk();  // the title's entry runs next
  Frames(1);
  EXPECT_EQ(CurrentScreen, ScreenTitle);
  EXPECT_EQ(CurrentGameEntry.score, 0);
  for (int32_t count : CurrentGameEntry.swatCounts) EXPECT_EQ(count, 0);
}

}  // namespace
