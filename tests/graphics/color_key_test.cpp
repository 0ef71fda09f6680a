// Black as the key of sprites at 32 and 24 bits per pixel, read back through the top-left pixel.
#include "graphics/bitmap_surface.h"
#include "graphics/color_key.h"
#include "graphics/drawing.h"
#include "tests/support/bmp_bytes.h"
#include "tests/support/display_fixture.h"

namespace {

// An orange top-left corner with a blue pixel beside it, black elsewhere but for a blue
// middle. At 24 bits the blue pixel's first byte shares the corner's 32-bit word.
uint32_t Sprite(int x, int y) {
  if (x == 0 && y == 0) return 0x00FF8000;
  if (x == 1 && y == 0) return 0x000000FF;
  return (x >= 2 && x < 6 && y >= 2 && y < 6) ? 0x000000FF : 0;
}

class ColorKeyAtDepth : public DisplayFixture, public ::testing::WithParamInterface<int> {
 protected:
  bool OpenDisplayInSetUp() const override { return false; }
};

TEST_P(ColorKeyAtDepth, BlackIsLeftOutAndTheCornerKeepsItsColour) {
  if (GetParam() == 24) HeadlessFailStep("SetDisplayMode32");
  ASSERT_EQ(OpenDisplay(), nullptr);
  const std::string path = WritePicture("Sprite.bmp", MakeBmp(8, 8, 24, false, Sprite));
  LoadImageSlot(1, path.c_str());
  IDirectDrawSurface7* sprite = ImageSlots[1];
  ASSERT_NE(sprite, nullptr);
  DDSURFACEDESC2 desc{};
  sprite->GetSurfaceDesc(&desc);
  EXPECT_EQ(desc.ddpfPixelFormat.dwRGBBitCount, static_cast<DWORD>(GetParam()));
  EXPECT_EQ(desc.ddckCKSrcBlt.dwColorSpaceLowValue, 0u);
  EXPECT_EQ(desc.ddckCKDestBlt.dwColorSpaceLowValue, 0u);
  EXPECT_EQ(PixelAt(sprite, 0, 0), 0x00FF8000u);
  EXPECT_EQ(MatchColor(sprite, CLR_INVALID), 0x00FF8000u);

  ColorFill(0, 0, 640, 480, 0x00808080, Display.backBuffer);
  DrawSprite(Display.backBuffer, 100, 50, sprite);
  FlipPage();
  const CapturedFrame& frame = HeadlessLastFrame();
  EXPECT_EQ(frame.At(100, 50), 0x00FF8000u);
  EXPECT_EQ(frame.At(101, 50), 0x000000FFu);
  EXPECT_EQ(frame.At(100, 51), 0x00808080u) << "black is the key";
  EXPECT_EQ(frame.At(103, 53), 0x000000FFu);
  EXPECT_EQ(frame.At(107, 57), 0x00808080u);
  DrawOpaque(Display.backBuffer, 100, 50, sprite);
  FlipPage();
  EXPECT_EQ(HeadlessLastFrame().At(100, 51), 0u);
}

INSTANTIATE_TEST_SUITE_P(ThirtyTwoAndTwentyFour, ColorKeyAtDepth, ::testing::Values(32, 24));

TEST_F(DisplayFixture, MatchColorGivesTheRawValueOfAnyColour) {
  IDirectDrawSurface7* surface = NewPicture(3, 3);
  ColorFill(0, 0, 3, 3, 0x00010203, surface);
  EXPECT_EQ(MatchColor(surface, RGB(0x11, 0x22, 0x33)), 0x00112233u);
  EXPECT_EQ(PixelAt(surface, 0, 0), 0x00010203u);
  surface->Release();
}

TEST_F(DisplayFixture, RefusedLockGivesTheInvalidKey) {
  IDirectDrawSurface7* surface = NewPicture(3, 3);
  HeadlessFailStep("Lock");
  EXPECT_EQ(MatchColor(surface, 0), 0xFFFFFFFFu);
  surface->Release();
}

}  // namespace
