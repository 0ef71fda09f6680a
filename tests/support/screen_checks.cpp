#include "tests/support/screen_checks.h"

namespace {

constexpr int kFlyCursorSize = 32;  // the fly pictures are 32 x 32

}  // namespace

::testing::AssertionResult BarsAreBlack(const Image& screenshot) {
  const int brightest = BrightestOutsidePicture(screenshot);
  if (brightest == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "a channel of " << brightest << " outside the picture";
}

RealGame::ScreenCheck TitleWithFlyCursorAt(const RealGame& game, int x, int y) {
  const Image title = game.Picture("Start.bmp");
  std::vector<Image> framesWithFly;
  for (const char* fly : {"Fly1.bmp", "Fly2.bmp", "Fly3.bmp"}) {
    framesWithFly.push_back(WithSprite(title, game.Picture(fly), x, y));
  }
  const GameRect cursor{x, y, kFlyCursorSize, kFlyCursorSize};
  return [framesWithFly, cursor](const Image& screenshot) {
    ::testing::AssertionResult seen = BarsAreBlack(screenshot);
    if (!seen) return seen;
    for (const Image& frame : framesWithFly) {
      seen = ShowsPicture(frame)(screenshot);
      if (seen) seen = ShowsPicture(frame, cursor)(screenshot);
      if (seen) return seen;
    }
    return seen;
  };
}

RealGame::ScreenCheck ShowsOneOf(std::vector<Image> pictures, GameRect region, int slack) {
  return [pictures = std::move(pictures), region, slack](const Image& screenshot) {
    const Image seen = GamePictureOf(screenshot);
    int fewest = region.width * region.height;
    for (const Image& picture : pictures) {
      fewest = std::min(fewest, DifferingPixels(seen, picture, region));
      if (fewest <= slack) return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << fewest << " pixels unlike the nearest of " << pictures.size() << " pictures in ("
           << region.x << ", " << region.y << ", " << region.width << " x " << region.height
           << ")";
  };
}
