// Rules at their exact values, played through the whole program: the stage clock's start, the
// OK box's rectangle and the boss's, each edge on it and one pixel beyond.
#include <string>

#include "game/play_state.h"
#include "input/keyboard.h"
#include "input/mouse_cursor.h"
#include "platform/seams/headless.h"
#include "tests/support/picture_file.h"
#include "tests/support/play_session.h"
#include "tests/support/state_line_fields.h"

namespace {

struct Place {
  const char* name;
  int x;
  int y;
  bool inside;
};

class RuleBounds : public PlaySession {
 protected:
  static void PutCorner(const Place& place) {
    Cursor.x = place.x;
    Cursor.y = place.y;
  }
};

// However long the intro waits, the seconds shown start at the stage's full time.
TEST_F(RuleBounds, TheStageClockStartsWhenTheIntroIsClickedAway) {
  StartGame();
  MoveCursorTo(528, 350);  // the Play button
  ClickLeft();
  Frames(1);
  Frames(1);  // the intro
  ToNext(YieldPoint::MouseRead);
  HeadlessClockAdvance(30000);
  const uint32_t clicked = HeadlessClockNow();
  ClickLeft();
  Frames(1);
  EXPECT_GE(StageStartTick, clicked);
  EXPECT_EQ(IntField(Line(), "left"), TimeLimit);
}

// The time out is an equality on whole seconds: a frame that finds one second left and the
// next that finds minus one never time out, and the stage runs on with negative seconds.
TEST_F(RuleBounds, AFrameLateBeyondTheLastSecondMissesTheTimeOut) {
  StartPlaying();
  ParkFlies();
  HeadlessClockAdvance(59500 - (HeadlessClockNow() - StageStartTick));
  Frames(1);
  ASSERT_EQ(IntField(Line(), "left"), 1);
  HeadlessClockAdvance(1500);
  Frames(3);
  EXPECT_EQ(IntField(Line(), "left"), -1);
  EXPECT_EQ(CurrentScreen, ScreenPlay);
  EXPECT_LT(PictureFile("gfx\\BOK.bmp").ShownIn(HeadlessLastFrame(), 270, 350), 0.5);
}

// The right button drops cream only while some is in stock; with none, nothing is dropped.
TEST_F(RuleBounds, NoCreamIsDroppedWithAnEmptyStock) {
  StartPlaying();
  CreamStock = 0;
  PushScriptedInput(ScriptMouseButton(1, true));
  Frames(2);
  PushScriptedInput(ScriptMouseButton(1, false));
  EXPECT_FALSE(FlyTable[kCreamBlob].alive);
  EXPECT_EQ(CreamStock, 0);
}

// The wasp crosses 15 pixels a frame and is gone on the frame it reaches the left edge.
TEST_F(RuleBounds, TheWaspLeavesOnTheFrameItReachesTheLeftEdge) {
  StartPlaying();
  FlyTable[kWasp] = FlyEntry{30, 200, 1, 0};
  Frames(1);
  EXPECT_TRUE(FlyTable[kWasp].alive);
  EXPECT_EQ(FlyTable[kWasp].x, 15);
  Frames(1);
  EXPECT_FALSE(FlyTable[kWasp].alive);
}

// The OK box after a surrender answers the swatter's corner anywhere on (220, 292)-(339, 379),
// edges included; a click one pixel beyond only swings the swatter.
TEST_F(RuleBounds, TheOkBoxTakesAClickOnEachEdgeOfItsRectangleAndNotBeyond) {
  const Place places[] = {{"left", 220, 330, true},   {"beyond left", 219, 330, false},
                          {"right", 339, 330, true},  {"beyond right", 340, 330, false},
                          {"top", 280, 292, true},    {"beyond top", 280, 291, false},
                          {"bottom", 280, 379, true}, {"beyond bottom", 280, 380, false}};
  StartPlaying();
  bool inBox = false;
  for (const Place& place : places) {
    SCOPED_TRACE(place.name);
    if (!inBox) {
      Tap(DIK_ESCAPE);
      Frames(2);  // the frame, then the box
      inBox = true;
    }
    PutCorner(place);
    ClickLeft();
    Frames(2);
    // Leaving the box enters the title, which takes the fly cursor back.
    EXPECT_EQ(!Cursor.swatter, place.inside);
    if (Cursor.swatter) {
      Frames(15);  // the swat runs out
      continue;
    }
    inBox = false;
    // Back into play for the next place: Play, the intro, and the frames of the Play click's swat.
    MoveCursorTo(528, 350);
    ClickLeft();
    Frames(2);
    ClickLeft();
    Frames(11);
  }
}

// The boss is hit on a swat's first frame with the swatter's corner anywhere on
// (242, 82)-(362, 216), edges included, and not one pixel beyond.
TEST_F(RuleBounds, TheBossIsHitOnEachEdgeOfItsRectangleAndNotBeyond) {
  const Place places[] = {{"left", 242, 150, true},   {"beyond left", 241, 150, false},
                          {"right", 362, 150, true},  {"beyond right", 363, 150, false},
                          {"top", 300, 82, true},     {"beyond top", 300, 81, false},
                          {"bottom", 300, 216, true}, {"beyond bottom", 300, 217, false}};
  StartPlaying();
  PlayFromStage(10);
  for (const Place& place : places) {
    SCOPED_TRACE(place.name);
    for (int i = 0; i < 50; ++i) FlyTable[i].alive = 0;  // nothing else under the swatter
    BossHitTimer = 0;
    const int energy = BossEnergy;
    PutCorner(place);
    Frames(1);
    Swat();
    EXPECT_EQ(BossEnergy, place.inside ? energy - 1 : energy);
    Rearm();
  }
}

}  // namespace
