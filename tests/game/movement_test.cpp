// How the flies crawl, how the cream lures them and is eaten, the wasp's crossing, and the
// blood the swatter carries, played through the whole program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <map>

#include "graphics/bitmap_surface.h"
#include "graphics/cursor_images.h"
#include "graphics/pixels.h"
#include "tests/support/play_session.h"
#include "tests/support/state_line_fields.h"

namespace {

using MovementTest = PlaySession;

std::map<int, FlyAt> FliesByIndex(const std::string& line) {
  std::map<int, FlyAt> flies;
  for (const FlyAt& fly : Flies(line)) flies[fly.index] = fly;
  return flies;
}

// Each fly's steps over the lines from `first` on, as long as the stage stays the same.
struct Steps {
  int largestX = 0;
  int largestY = 0;
  int smallestY = 0;
  bool allInField = true;
};

Steps StepsSince(const std::vector<std::string>& lines, size_t first) {
  Steps steps;
  for (size_t k = first + 1; k < lines.size(); ++k) {
    const auto before = FliesByIndex(lines[k - 1]);
    for (const auto& [index, fly] : FliesByIndex(lines[k])) {
      steps.allInField &= fly.x >= 0 && fly.x <= 607 && fly.y >= 0 && fly.y <= 447;
      if (!before.count(index)) continue;
      steps.largestX = std::max(steps.largestX, std::abs(fly.x - before.at(index).x));
      steps.largestY = std::max(steps.largestY, fly.y - before.at(index).y);
      steps.smallestY = std::min(steps.smallestY, fly.y - before.at(index).y);
    }
  }
  return steps;
}

TEST_F(MovementTest, EachModeStepsWithinItsRangeAndReachesIt) {
  auto stepsOver = [&](int frames) {
    const size_t first = lines_.size() - 1;
    Frames(frames);
    return StepsSince(lines_, first);
  };
  auto expectRange = [](const Steps& steps, int across, int up, int down) {
    EXPECT_EQ(steps.largestX, across);
    EXPECT_EQ(steps.smallestY, -up);
    EXPECT_EQ(steps.largestY, down);
    EXPECT_TRUE(steps.allInField);
  };
  StartPlaying();
  expectRange(stepsOver(300), 6, 6, 6);
  PlayFromStage(4);
  expectRange(stepsOver(300), 10, 10, 10);
  // The boss's flies drift down: -7 to 13. Let them all out and watch them.
  PlayFromStage(10);
  for (int i = 0; i < 50; ++i) FlyTable[i] = FlyEntry{20 + 11 * i, 100, 1, 0};
  expectRange(stepsOver(20), 10, 7, 13);
}

// A step that would leave the field is not taken at all: a fly held in the top-left corner
// stays put whenever either axis would go out, which is most of the time. The last column
// (607) and row (447) are the field's own: a fly held in that corner moves along them.
TEST_F(MovementTest, AStepThatWouldLeaveTheFieldMovesNeitherAxis) {
  StartPlaying();
  ParkFlies();
  int stayed = 0;
  int oneAxisOnly = 0;
  int alongTheLastColumn = 0;
  int alongTheLastRow = 0;
  for (int frame = 0; frame < 400; ++frame) {
    FlyTable[0].x = 0;
    FlyTable[0].y = 0;
    FlyTable[1].x = 607;
    FlyTable[1].y = 447;
    Frames(1);
    const FlyAt fly = FliesByIndex(Line()).at(0);
    stayed += fly.x == 0 && fly.y == 0;
    oneAxisOnly += (fly.x == 0) != (fly.y == 0);
    const FlyAt corner = FliesByIndex(Line()).at(1);
    alongTheLastColumn += corner.x == 607 && corner.y < 447;
    alongTheLastRow += corner.y == 447 && corner.x < 607;
  }
  EXPECT_GT(alongTheLastColumn, 0);
  EXPECT_GT(alongTheLastRow, 0);
  // Both axes must pass, (7/13)^2 of the time: it stays about 71 % of the frames. Moving the
  // axes one by one would leave it in place only 21 % of the time.
  EXPECT_GT(stayed, 240);
  EXPECT_LT(oneAxisOnly, 60);  // a step of exactly 0 on one axis: 2/13 of the moves
}

// Nearer than 120 pixels (across plus down, from the fly's middle to the swatter's point), a
// stage seven fly jitters three times as far.
TEST_F(MovementTest, NearTheSwatterAStageSevenFlyJittersThreeTimesAsFar) {
  StartPlaying();
  PlayFromStage(7);
  ParkFlies();
  MoveCursorTo(300, 200);
  Frames(1);
  struct Place {
    int x, y;
    int largestStep;
  };
  // 119 and 120 away, across and down.
  const Place places[] = {{403, 184, 15}, {404, 184, 5}, {284, 303, 15}, {284, 304, 5}, {165, 184, 15}};
  int largest[std::size(places)] = {};
  for (int frame = 0; frame < 200; ++frame) {
    for (size_t i = 0; i < std::size(places); ++i) {
      FlyTable[i].x = places[i].x;
      FlyTable[i].y = places[i].y;
    }
    Frames(1);
    const auto flies = FliesByIndex(Line());
    for (size_t i = 0; i < std::size(places); ++i) {
      const FlyAt& fly = flies.at(static_cast<int>(i));
      largest[i] = std::max({largest[i], std::abs(fly.x - places[i].x), std::abs(fly.y - places[i].y)});
    }
  }
  for (size_t i = 0; i < std::size(places); ++i) {
    EXPECT_EQ(largest[i], places[i].largestStep) << places[i].x << "," << places[i].y;
  }
}

// The cream pulls a fly up to three pixels an axis towards it, and draws no number for an axis
// on which the fly is level with it.
TEST_F(MovementTest, CreamLuresTheFliesAndDrawsNothingWhereAFlyIsLevelWithIt) {
  StartPlaying();
  ParkFlies();
  for (int i = 1; i < FlyCount; ++i) FlyTable[i].alive = 0;
  auto randCallsOfAFrame = [&] {
    const int before = IntField(Line(), "rand");
    Frames(1);
    return IntField(Line(), "rand") - before - (Field(Line(), "wasp") == "-" ? 1 : 2);
  };
  FlyTable[0] = FlyEntry{300, 200, 1, 0};
  FlyTable[kCreamBlob] = FlyEntry{300, 200, 1, 0};
  EXPECT_EQ(randCallsOfAFrame(), 2);  // the step only
  int pulledX = 0;
  int pulledY = 0;
  for (int frame = 0; frame < 100; ++frame) {
    FlyTable[0] = FlyEntry{300, 200, 1, 0};
    FlyTable[kCreamBlob] = FlyEntry{400, 300, 1, 0};
    EXPECT_EQ(randCallsOfAFrame(), 4);  // the step and a pull on each axis
    pulledX += FliesByIndex(Line()).at(0).x - 300;
    pulledY += FliesByIndex(Line()).at(0).y - 200;
  }
  EXPECT_GT(pulledX, 80);  // 1.5 a frame on average
  EXPECT_GT(pulledY, 80);
}

// Held, the right button drops a blob whenever none is out, until the stock is gone; a fly
// that comes within three pixels of the blob on both axes eats it.
TEST_F(MovementTest, HeldCreamFallsAgainEachTimeItIsEatenUntilTheStockIsGone) {
  StartPlaying();
  ParkFlies();
  CreamStock = 3;
  MoveCursorTo(300, 200);
  Frames(1);
  PushScriptedInput(ScriptMouseButton(1, true));
  int drops = 0;
  int creamBefore = CreamStock;
  for (int frame = 0; frame < 400 && (CreamStock > 0 || FlyTable[kCreamBlob].alive); ++frame) {
    if (FlyTable[kCreamBlob].alive) {
      FlyTable[0].x = FlyTable[kCreamBlob].x;  // a fly goes for it
      FlyTable[0].y = FlyTable[kCreamBlob].y;
    }
    Frames(1);
    const std::string blob = Field(Line(), "blob");
    if (IntField(Line(), "cream") < creamBefore) {
      ++drops;  // dropped where the swatter's corner points, and maybe eaten at once
      EXPECT_TRUE(blob == "316,216" || blob == "-") << blob;
    }
    creamBefore = IntField(Line(), "cream");
    // Whenever a blob is out after the frame, no fly is within three pixels of it.
    if (blob != "-") {
      const std::vector<int> at = IntsField(Line(), "blob");
      for (const FlyAt& fly : Flies(Line())) {
        EXPECT_FALSE(std::abs(fly.x - at[0]) < 4 && std::abs(fly.y - at[1]) < 4) << Line();
      }
    }
  }
  EXPECT_EQ(drops, 3);
  EXPECT_EQ(IntField(Line(), "cream"), 0);
  EXPECT_EQ(Field(Line(), "blob"), "-");
  Frames(20);
  EXPECT_EQ(Field(Line(), "blob"), "-");
}

// The numbers the game draws, as random.h documents its generator: the n-th since the program
// started, counted from 1, for n that never go down.
class DrawnNumbers {
 public:
  int32_t At(uint64_t n) {
    for (; drawn_ < n; ++drawn_) state_ = state_ * 22695477u + 1u;
    return static_cast<int32_t>((state_ >> 16) & 0x7FFFu);
  }

 private:
  uint32_t state_ = 1;
  uint64_t drawn_ = 0;
};

// A wasp comes in at the right edge and crosses 15 pixels a frame; no second one comes while
// it is out, and none ever in the boss stage. A play frame's last draw is its chance to come in
// (one in a thousand: a 5 from 0 to 999); then one more places it from the top, 0 to 446.
TEST_F(MovementTest, TheWaspCrossesAloneAndNeverVisitsTheBoss) {
  StartPlaying();
  ParkFlies();
  size_t first = lines_.size();
  Frames(3000);
  int arrivals = 0;
  DrawnNumbers numbers;
  for (size_t k = first; k < lines_.size(); ++k) {
    const std::string wasp = Field(lines_[k], "wasp");
    const std::string before = Field(lines_[k - 1], "wasp");
    const auto drawn = static_cast<uint64_t>(IntField(lines_[k], "rand"));
    if (before == "-" && drawn != static_cast<uint64_t>(IntField(lines_[k - 1], "rand"))) {
      EXPECT_EQ(numbers.At(drawn - (wasp == "-" ? 0 : 1)) % 1000 == 5, wasp != "-") << lines_[k];
    }
    if (wasp == "-") continue;
    const std::vector<int> at = IntsField(lines_[k], "wasp");
    if (before == "-") {
      ++arrivals;
      EXPECT_EQ(at[0], 592);
      EXPECT_EQ(at[1], numbers.At(drawn) % 447);
    } else {
      EXPECT_EQ(at[0], IntsField(lines_[k - 1], "wasp")[0] - 15) << lines_[k];
      EXPECT_EQ(at[1], IntsField(lines_[k - 1], "wasp")[1]);
    }
  }
  EXPECT_GE(arrivals, 1);

  PlayFromStage(10);
  first = lines_.size();
  Frames(3000);
  for (size_t k = first; k < lines_.size(); ++k) EXPECT_EQ(Field(lines_[k], "wasp"), "-");
}

// Blood lands only on the swatter itself, never on its black (transparent) pixels, and stays
// through the next stages, at both display depths.
class BloodSpots : public PlaySession, public ::testing::WithParamInterface<int> {};

struct SwatterPixels {
  std::vector<uint32_t> resting;
  std::vector<uint32_t> swinging;
};

std::vector<uint32_t> PixelsOf(IDirectDrawSurface7* picture) {
  std::vector<uint32_t> pixels;
  if (LockPixels(picture) == nullptr) return pixels;
  const PixelView view = LockedPixelView();
  for (int y = 0; y < view.height; ++y) {
    for (int x = 0; x < view.width; ++x) pixels.push_back(ReadPixel(view, x, y) & 0xFFFFFF);
  }
  UnlockPixels(picture);
  return pixels;
}

std::vector<uint32_t> FilePixels(const char* path) {
  IDirectDrawSurface7* picture = LoadBitmapSurface(Display.directDraw, path, 0, 0);
  std::vector<uint32_t> pixels = PixelsOf(picture);
  picture->Release();
  return pixels;
}

// How many pixels the game painted, each one checked: it was part of the swatter and is now
// pure red of intensity 100 to 255.
int PaintedPixels(const std::vector<uint32_t>& file, const std::vector<uint32_t>& now) {
  EXPECT_EQ(file.size(), now.size());
  int painted = 0;
  for (size_t i = 0; i < file.size() && i < now.size(); ++i) {
    if (file[i] == now[i]) continue;
    ++painted;
    EXPECT_NE(file[i], 0u) << "a black pixel was painted at " << i;
    EXPECT_EQ(now[i] & 0xFFFF, 0u);
    EXPECT_GE(now[i] >> 16, 100u);
  }
  return painted;
}

TEST_P(BloodSpots, LandOnTheSwatterOnlyAndStayAcrossStages) {
  if (GetParam() == 24) HeadlessFailStep("SetDisplayMode32");
  StartPlaying();
  ParkFlies();
  MoveCursorTo(300, 200);
  Frames(1);
  for (int i = 0; i < 3; ++i) PutFlyUnderSwatter(i, 300, 200);
  Swat();
  const std::vector<uint32_t> resting = PixelsOf(CursorImages.images[0]);
  const std::vector<uint32_t> swinging = PixelsOf(CursorImages.images[1]);
  EXPECT_GT(PaintedPixels(FilePixels("gfx\\Klatsche1.bmp"), resting), 50);
  EXPECT_GT(PaintedPixels(FilePixels("gfx\\Klatsche2.bmp"), swinging), 50);

  PlayFromStage(3);
  EXPECT_EQ(PixelsOf(CursorImages.images[0]), resting);
  EXPECT_EQ(PixelsOf(CursorImages.images[1]), swinging);
}

INSTANTIATE_TEST_SUITE_P(AtEachDepth, BloodSpots, ::testing::Values(32, 24),
                         [](const ::testing::TestParamInfo<int>& param) {
                           return std::to_string(param.param) + "Bits";
                         });

}  // namespace
