// The cursor's motion and bounds, the swat trigger, hit rectangles and the wait for a click.
#include <gtest/gtest.h>

#include <vector>

#include "tests/support/cursor_fixture.h"

namespace {

using MouseTest = CursorFixture;

// The farthest corners the cursor reaches, pushed hard each way.
struct Reach {
  int32_t minX, minY, maxX, maxY;
};
Reach DriveToCorners() {
  Reach reach{};
  Move(-5000, -5000);
  reach.minX = Cursor.x;
  reach.minY = Cursor.y;
  Move(5000, 5000);
  reach.maxX = Cursor.x;
  reach.maxY = Cursor.y;
  return reach;
}

TEST_F(MouseTest, EveryCountMovesTwoPixels) {
  Cursor.x = 100;
  Cursor.y = 100;
  Move(5, -3);
  EXPECT_EQ(Cursor.x, 110);
  EXPECT_EQ(Cursor.y, 94);
  Move(0, 0);
  EXPECT_EQ(Cursor.x, 110) << "motion is not counted twice";
}

TEST_F(MouseTest, WithoutACursorPictureTheWholeScreenIsReachable) {
  const Reach reach = DriveToCorners();
  EXPECT_EQ(reach.minX, 0);
  EXPECT_EQ(reach.minY, 0);
  EXPECT_EQ(reach.maxX, 639);
  EXPECT_EQ(reach.maxY, 479);
  // A move that lands on the limit itself is held one pixel inside it.
  Move(-5000, -5000);
  Move(320, 240);
  EXPECT_EQ(Cursor.x, 639);
  EXPECT_EQ(Cursor.y, 479);
}

TEST_F(MouseTest, AFlyPictureStaysWhollyOnTheScreen) {
  LoadPlainCursor(0, 48, 40, 0x00FF00);
  const Reach reach = DriveToCorners();
  EXPECT_EQ(reach.maxX, 640 - 48 - 1);
  EXPECT_EQ(reach.maxY, 480 - 40 - 1);
  EXPECT_EQ(reach.minX, 0);
}

TEST_F(MouseTest, TheSwatterMayHangItsHandleBelowTheScreen) {
  LoadPlainCursor(0, 64, 167, 0x808080);
  const Reach reach = DriveToCorners();
  EXPECT_EQ(reach.maxX, 575);
  EXPECT_EQ(reach.maxY, 402);
}

TEST_F(MouseTest, AFloodOfMotionNeitherOverflowsNorEscapesTheScreen) {
  for (int i = 0; i < 4; ++i) PushScriptedInput(ScriptMouseMotion(INT32_MAX, INT32_MIN));
  UpdateMouse();
  EXPECT_EQ(Cursor.x, 639);
  EXPECT_EQ(Cursor.y, 0);
}

struct SwatFrame {
  int32_t timer;
  bool active;
};

TEST_F(MouseTest, HoldingTheButtonSwatsOnceForElevenFrames) {
  FrameWithButton(true);
  EXPECT_FALSE(Cursor.swatActive) << "not armed before the button was ever seen up";
  EXPECT_FALSE(Cursor.swatArmed);
  FrameWithButton(false);
  EXPECT_TRUE(Cursor.swatArmed);

  std::vector<SwatFrame> seen;
  FrameWithButton(true);  // frame N
  seen.push_back({Cursor.swatTimer, Cursor.swatActive});
  EXPECT_FALSE(Cursor.swatArmed);
  for (int frame = 1; frame <= 14; ++frame) {
    UpdateMouse();  // still held
    seen.push_back({Cursor.swatTimer, Cursor.swatActive});
  }
  for (int frame = 0; frame <= 10; ++frame) {
    EXPECT_EQ(seen[frame].timer, 10 - frame) << "frame N+" << frame;
    EXPECT_TRUE(seen[frame].active) << "frame N+" << frame;
  }
  for (int frame = 11; frame <= 14; ++frame) {
    EXPECT_EQ(seen[frame].timer, 0) << "frame N+" << frame;
    EXPECT_FALSE(seen[frame].active) << "held: no second swat, frame N+" << frame;
  }
}

TEST_F(MouseTest, ClickingEveryOtherFrameSwatsEveryTwelveFrames) {
  FrameWithButton(false);
  std::vector<int> starts;
  for (int frame = 0; frame < 40; ++frame) {
    FrameWithButton(frame % 2 == 0);
    if (Cursor.swatTimer == 10) starts.push_back(frame);
  }
  EXPECT_EQ(starts, (std::vector<int>{0, 12, 24, 36}));
}

TEST_F(MouseTest, AHeldButtonDuringTheSwatNeedsAReleaseAtItsEnd) {
  FrameWithButton(false);
  FrameWithButton(true);  // N
  for (int frame = 1; frame <= 10; ++frame) FrameWithButton(frame % 2 == 0);
  FrameWithButton(true);  // N+11: down, so not armed
  EXPECT_FALSE(Cursor.swatActive);
  FrameWithButton(true);
  EXPECT_FALSE(Cursor.swatActive);
  FrameWithButton(false);
  FrameWithButton(true);
  EXPECT_EQ(Cursor.swatTimer, 10);
}

// The release must come once the timer has run out: up in the swat's last timed frame is too
// early to arm the next one.
TEST_F(MouseTest, ReleasingInTheSwatsLastTimedFrameDoesNotArmTheNext) {
  FrameWithButton(false);
  FrameWithButton(true);  // N
  for (int frame = 1; frame <= 9; ++frame) FrameWithButton(true);
  FrameWithButton(false);  // N+10: the timer runs down to 0 here
  EXPECT_EQ(Cursor.swatTimer, 0);
  EXPECT_FALSE(Cursor.swatArmed);
  FrameWithButton(true);  // N+11
  EXPECT_FALSE(Cursor.swatActive);
  EXPECT_EQ(Cursor.swatTimer, 0);
  FrameWithButton(false);  // N+12 arms,
  FrameWithButton(true);   // N+13 swats
  EXPECT_EQ(Cursor.swatTimer, 10);
}

TEST_F(MouseTest, CursorInRectIncludesAllFourBounds) {
  auto at = [](int32_t x, int32_t y) {
    Cursor.x = x;
    Cursor.y = y;
    return CursorInRect(25, 425, 86, 450);
  };
  EXPECT_TRUE(at(25, 425));
  EXPECT_TRUE(at(86, 450));
  EXPECT_TRUE(at(86, 425));
  EXPECT_TRUE(at(25, 450));
  EXPECT_FALSE(at(87, 450));
  EXPECT_FALSE(at(25, 451));
  EXPECT_FALSE(at(24, 430));
  EXPECT_FALSE(at(30, 424));
}

TEST_F(MouseTest, WaitForClickWithTheButtonDownEndsAtTheFirstReadThatSeesItUp) {
  FrameWithButton(true);
  ASSERT_NE(MouseState.rgbButtons[0], 0);
  const int before = mouseReads;
  ScheduleScriptedInput(YieldPoint::MouseRead, 2, ScriptMouseButton(0, false));
  WaitForClick(0);
  EXPECT_EQ(mouseReads - before, 2);
  EXPECT_EQ(MouseState.rgbButtons[0], 0);
}

TEST_F(MouseTest, WaitForClickWaitsForPressAndReleaseAndDropsTheMotion) {
  Cursor.x = 300;
  Cursor.y = 200;
  UpdateMouse();
  const int before = mouseReads;
  ScheduleScriptedInput(YieldPoint::MouseRead, 2, ScriptMouseMotion(10, 10));
  ScheduleScriptedInput(YieldPoint::MouseRead, 3, ScriptMouseButton(0, true));
  ScheduleScriptedInput(YieldPoint::MouseRead, 5, ScriptMouseButton(0, false));
  WaitForClick(0);
  EXPECT_EQ(mouseReads - before, 5);
  UpdateMouse();
  EXPECT_EQ(Cursor.x, 300);
  EXPECT_EQ(Cursor.y, 200);
}

}  // namespace
