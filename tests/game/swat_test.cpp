// Swats, played through the whole program: what a swat hits, frame by frame, and what it
// scores; the wasp; the boss and the flies it lets out.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <utility>

#include "game/swat.h"
#include "tests/support/play_session.h"
#include "tests/support/screen_places.h"
#include "tests/support/state_line_fields.h"

namespace {

using SwatTest = PlaySession;

constexpr int kCx = 100;
constexpr int kCy = 100;

TEST_F(SwatTest, AMissCostsAHundredAndAFlyThatComesInLateInTheSwatIsCountedOnce) {
  StartPlaying();
  ParkFlies();
  MoveCursorTo(kCx, kCy);
  Frames(1);
  Swat();
  EXPECT_EQ(IntField(Line(), "score"), -100);
  EXPECT_EQ(Field(Line(), "counts"), "1,0,0,0,0,0,0,0");
  EXPECT_EQ(Field(Line(), "effect"), "0,9");
  Rearm();

  ClickLeft();
  Frames(4);  // the swat's first four frames miss
  PutFlyUnderSwatter(0, kCx, kCy);
  Frames(1);  // the fifth meets the fly
  EXPECT_EQ(FlyTable[0].alive, 0);
  Frames(5);
  EXPECT_EQ(IntField(Line(), "score"), 0);
  EXPECT_EQ(Field(Line(), "counts"), "1,1,0,0,0,0,0,0");
}

// The swatter's corner may lie 44 pixels left of the target's corner to 10 right, and 57 above
// it to 13 below, bounds included.
TEST_F(SwatTest, TheHitBoxIncludesItsFourBoundsAndNothingBeyond) {
  StartPlaying();
  ParkFlies();
  MoveCursorTo(kCx, kCy);
  Frames(1);
  struct Case {
    int dx;
    int dy;
    bool hit;
  };
  const int x = kSquarelyHit.x;
  const int y = kSquarelyHit.y;
  for (const Case& place :
       {Case{-kHitRight, y, true}, Case{-kHitRight - 1, y, false}, Case{kHitLeft, y, true},
        Case{kHitLeft + 1, y, false}, Case{x, -kHitBelow, true}, Case{x, -kHitBelow - 1, false},
        Case{x, kHitAbove, true}, Case{x, kHitAbove + 1, false}}) {
    FlyTable[0].alive = 1;
    FlyTable[0].x = kCx + place.dx;
    FlyTable[0].y = kCy + place.dy;
    ClickLeft();
    Frames(1);
    EXPECT_EQ(FlyTable[0].alive == 0, place.hit) << place.dx << "," << place.dy;
    FlyTable[0].x = 590;  // out of the way for the rest of the swat
    FlyTable[0].y = 430;
    Frames(9);
    Rearm();
  }
  EXPECT_EQ(Field(Line(), "counts"), "4,4,0,0,0,0,0,0");
}

TEST_F(SwatTest, TheWaspAloneScoresAsOneTargetShowsItsOwnPictureAndGivesCream) {
  StartPlaying();
  ParkFlies();
  MoveCursorTo(kCx, kCy);
  Frames(1);
  FlyTable[kWasp] = FlyEntry{kCx + kSquarelyHit.x, kCy + kSquarelyHit.y, 1, 0};
  ClickLeft();
  Frames(1);
  EXPECT_EQ(Field(Line(), "wasp"), "-");
  Frames(9);
  EXPECT_EQ(IntField(Line(), "score"), 100);
  EXPECT_EQ(Field(Line(), "counts"), "0,1,0,0,0,0,0,0");
  EXPECT_EQ(IntsField(Line(), "effect")[0], 8);
  EXPECT_EQ(IntField(Line(), "cream"), 2);
}

TEST_F(SwatTest, NineFliesAtOnceScoreFortyThousandAsSevenOrMore) {
  StartPlaying();
  PlayFromStage(2);
  ParkFlies();
  MoveCursorTo(kCx, kCy);
  Frames(1);
  const int before = IntField(Line(), "score");
  for (int i = 0; i < 9; ++i) PutFlyUnderSwatter(i, kCx, kCy);
  Swat();
  EXPECT_EQ(IntField(Line(), "score") - before, 40000);
  EXPECT_EQ(Field(Line(), "counts"), "0,0,0,0,0,0,0,1");
  EXPECT_EQ(IntsField(Line(), "effect")[0], 7);
  EXPECT_EQ(Flies(Line()).size(), 6u);
}

// The boss counts as a target, once per swat at most, on the swat's first frame only, and not
// while it is still hurt; each hit lets a fly out at one of its two spawn points.
TEST_F(SwatTest, TheBossIsHitOnlyOnASwatsFirstFrameAndReleasesAFly) {
  StartPlaying();
  PlayFromStage(10);
  const int before = IntField(Line(), "score");
  MoveCursorTo(300, 150);
  Frames(1);
  PutFlyUnderSwatter(0, 300, 150);
  PutFlyUnderSwatter(1, 300, 150);
  ClickLeft();
  Frames(1);
  EXPECT_EQ(BossEnergy, 49);
  // Flies 0 and 1 died before the boss was hit, so fly 0 is the one let out.
  EXPECT_TRUE(FlyTable[0].alive);
  EXPECT_FALSE(FlyTable[1].alive);
  EXPECT_EQ(BuzzOn[0], 1);
  EXPECT_TRUE(BuzzOf(0).playing);
  Frames(9);
  EXPECT_EQ(IntField(Line(), "score") - before, 2000);
  EXPECT_EQ(Field(Line(), "counts"), "0,0,0,1,0,0,0,0");
  Rearm();

  FlyTable[0].alive = 0;  // keep the field clear of the swatter
  MoveCursorTo(300, 300);
  Frames(1);
  ClickLeft();
  Frames(2);
  MoveCursorTo(300, 150);  // into the boss in the swat's third frame
  Frames(8);
  EXPECT_EQ(BossEnergy, 49);
  Rearm();
  BossHitTimer = 5;
  Swat();
  EXPECT_EQ(BossEnergy, 49);
  Rearm();

  // With every fly out, the boss lets fly 0 out again from a spawn point, buzzing anew.
  for (int i = 0; i < 50; ++i) FlyTable[i] = FlyEntry{500, 300, 1, 0};
  SoundSetPosition(FlyBuzz[0], 40000);
  ClickLeft();
  Frames(1);
  EXPECT_EQ(BossEnergy, 48);
  // It has taken one step since: up to 10 across and 7 up or 13 down.
  auto near = [](int x, int y) {
    return std::abs(FlyTable[0].x - x) <= 10 && FlyTable[0].y - y >= -7 && FlyTable[0].y - y <= 13;
  };
  const bool nearSpawn = near(160, 106) || near(424, 110);
  EXPECT_TRUE(nearSpawn) << FlyTable[0].x << "," << FlyTable[0].y;
  EXPECT_TRUE(BuzzOf(0).playing);
  EXPECT_LT(BuzzOf(0).position, 40000u);

  // Before its first step, a fly let out stands exactly on one spawn point or the other.
  std::set<std::pair<int, int>> spawns;
  for (int hit = 0; hit < 16; ++hit) {
    for (int i = 0; i < 50; ++i) FlyTable[i].alive = 0;
    Cursor.swatActive = 1;
    Cursor.swatTimer = 10;
    BossHitTimer = 0;
    SwatBoss();
    spawns.insert({FlyTable[0].x, FlyTable[0].y});
  }
  EXPECT_EQ(spawns, (std::set<std::pair<int, int>>{{160, 106}, {424, 110}}));
}

// A boss fly that leaves the field gives the boss its energy back and costs the player 100,
// without being a swat.
TEST_F(SwatTest, ABossFlyThatEscapesFeedsTheBossAndCostsAHundred) {
  StartPlaying();
  PlayFromStage(10);
  const int score = IntField(Line(), "score");
  const int effectKind = IntsField(Line(), "effect")[0];
  FlyTable[0] = FlyEntry{300, 447, 1, 0};
  BuzzOn[0] = 1;
  SoundPlayLooped(FlyBuzz[0]);
  for (int frame = 0; frame < 100 && FlyTable[0].alive; ++frame) Frames(1);
  ASSERT_EQ(FlyTable[0].alive, 0);
  EXPECT_EQ(BossEnergy, 51);
  EXPECT_EQ(IntField(Line(), "score"), score - 100);
  EXPECT_EQ(Field(Line(), "counts"), "0,0,0,0,0,0,0,0");
  EXPECT_EQ(IntsField(Line(), "effect")[0], effectKind);
  EXPECT_FALSE(BuzzOf(0).playing);
  EXPECT_EQ(BuzzOn[0], 0);
}

}  // namespace
