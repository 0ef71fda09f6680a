// Single pixels read and written in the surface's own layout, at 32 and at 24 bits per pixel.
#include <utility>

#include "graphics/bitmap_surface.h"
#include "graphics/drawing.h"
#include "tests/support/bmp_bytes.h"
#include "tests/support/display_fixture.h"

namespace {

// 7 pixels wide, so a 24-bit row (21 bytes) ends in padding; every pixel has its own colour.
constexpr int kWidth = 7;
constexpr int kHeight = 5;

uint32_t ColourAt(int x, int y) {
  return static_cast<uint32_t>((0x20 + x) << 16 | (0x40 + y) << 8 | (0x80 + x * 8 + y));
}

class PixelViewAtDepth : public DisplayFixture, public ::testing::WithParamInterface<int> {
 protected:
  bool OpenDisplayInSetUp() const override { return false; }
};

TEST_P(PixelViewAtDepth, ReadsAndWritesEveryPixelInPlaceAndNothingOutside) {
  if (GetParam() == 24) HeadlessFailStep("SetDisplayMode32");
  ASSERT_EQ(OpenDisplay(), nullptr);
  const std::string path = WritePicture("Colours.bmp", MakeBmp(kWidth, kHeight, 24, false,
                                                               ColourAt));
  IDirectDrawSurface7* picture = LoadBitmapSurface(Display.directDraw, path.c_str(), 0, 0);
  ASSERT_NE(picture, nullptr);

  ASSERT_NE(LockPixels(picture), nullptr);
  const PixelView view = LockedPixelView();
  EXPECT_EQ(view.bytesPerPixel * 8, GetParam());
  const std::pair<int, int> inside[] = {{0, 0}, {1, 0}, {kWidth - 1, 0}, {0, kHeight - 1},
                                        {kWidth - 1, kHeight - 1}, {3, 2}};
  for (auto [x, y] : inside) {
    EXPECT_EQ(ReadPixel(view, x, y), ColourAt(x, y)) << "at " << x << ", " << y;
  }
  // Past the right edge a 32-bit row runs on into the next; the 24-bit one into its padding.
  const std::pair<int, int> outside[] = {{-1, 0}, {0, -1}, {kWidth, 0}, {kWidth + 1, 0},
                                         {0, kHeight}, {-1, 1}};
  for (auto [x, y] : outside) {
    EXPECT_EQ(ReadPixel(view, x, y), 0u) << "outside at " << x << ", " << y;
    WritePixel(view, x, y, 0x00FFFFFF);
  }
  WritePixel(view, kWidth - 1, kHeight - 1, 0x00ABCDEF);
  WritePixel(view, 1, 0, 0x00123456);
  EXPECT_EQ(ReadPixel(view, kWidth - 1, kHeight - 1), 0x00ABCDEFu);
  UnlockPixels(picture);

  // Read back past the helper: the two writes landed where they belong and nothing else moved.
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      uint32_t expected = ColourAt(x, y);
      if (x == kWidth - 1 && y == kHeight - 1) expected = 0x00ABCDEF;
      if (x == 1 && y == 0) expected = 0x00123456;
      EXPECT_EQ(PixelAt(picture, x, y), expected) << "at " << x << ", " << y;
    }
  }
  picture->Release();
}

INSTANTIATE_TEST_SUITE_P(ThirtyTwoAndTwentyFour, PixelViewAtDepth, ::testing::Values(32, 24));

}  // namespace
