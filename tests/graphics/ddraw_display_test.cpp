// Bringing the display up step by step, the 24-bit fallback, the flip and the teardown.
#include "graphics/color_key.h"
#include "graphics/drawing.h"
#include "tests/support/display_fixture.h"

namespace {

class DisplayBringUp : public DisplayFixture {
 protected:
  bool OpenDisplayInSetUp() const override { return false; }
};

struct FailingStep {
  const char* step;
  const char* message;
};

class DisplayStepFails : public DisplayBringUp,
                         public ::testing::WithParamInterface<FailingStep> {};

TEST_P(DisplayStepFails, WithItsOwnMessage) {
  HeadlessFailStep(GetParam().step);
  const char* failure = OpenDisplay();
  ASSERT_NE(failure, nullptr);
  EXPECT_STREQ(failure, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, DisplayStepFails,
    ::testing::Values(FailingStep{"DirectDrawCreateEx", "Unable to Init DirectDraw"},
                      FailingStep{"SetCooperativeLevel", "Unable to Set Coorporation Level"},
                      FailingStep{"CreatePrimarySurface", "Unable to create Primary Surface"},
                      FailingStep{"GetAttachedSurface", "Unable to create BackBuffer"}),
    [](const ::testing::TestParamInfo<FailingStep>& param) { return std::string(param.param.step); });

TEST_F(DisplayBringUp, ModeFailsOnlyWhenBothDepthsAreRefused) {
  HeadlessFailStep("SetDisplayMode32");
  HeadlessFailStep("SetDisplayMode24");
  EXPECT_STREQ(OpenDisplay(), "Unable to set Display Mode");
  const auto& modes = DisplayModeRequests();
  ASSERT_EQ(modes.size(), 2u);
  EXPECT_EQ(modes[0].bitsPerPixel, 32u);
  EXPECT_EQ(modes[1].bitsPerPixel, 24u);
}

TEST_F(DisplayBringUp, RunsAt32BitsAndGivesTheDesktopBackAt32) {
  Display.desktopWidth = 1920;
  Display.desktopHeight = 1080;
  ASSERT_EQ(OpenDisplay(), nullptr);
  ASSERT_NE(Display.backBuffer, nullptr);
  ASSERT_EQ(DisplayModeRequests().size(), 1u);
  EXPECT_TRUE(DisplayModeRequests()[0].granted);
  EXPECT_NE(LockPixels(Display.backBuffer), nullptr);
  EXPECT_EQ(Display.surfaceDesc.ddpfPixelFormat.dwRGBBitCount, 32u);
  UnlockPixels(Display.backBuffer);
  CloseDisplay();
  const DisplayModeRequest& last = DisplayModeRequests().back();
  EXPECT_EQ(last.width, 1920u);
  EXPECT_EQ(last.height, 1080u);
  EXPECT_EQ(last.bitsPerPixel, 32u);
  EXPECT_EQ(Display.directDraw, nullptr);
  EXPECT_EQ(Display.primary, nullptr);
  EXPECT_EQ(Display.backBuffer, nullptr);
}

// Where 32 bits are refused the game plays at 24, draws and flips the same picture, and still
// gives the desktop back at 32.
TEST_F(DisplayBringUp, FallsBackTo24BitsEndToEnd) {
  Display.desktopWidth = 1280;
  Display.desktopHeight = 1024;
  HeadlessFailStep("SetDisplayMode32");
  ASSERT_EQ(OpenDisplay(), nullptr);
  ASSERT_NE(LockPixels(Display.backBuffer), nullptr);
  EXPECT_EQ(Display.surfaceDesc.ddpfPixelFormat.dwRGBBitCount, 24u);
  UnlockPixels(Display.backBuffer);

  IDirectDrawSurface7* sprite = NewPicture(4, 4);
  ColorFill(0, 0, 4, 4, 0x00123456, sprite);
  ColorFill(1, 1, 3, 3, 0, sprite);  // a black hole in the middle
  SetSurfaceColorKey(sprite, 0);
  ColorFill(0, 0, 640, 480, 0x00A0B0C0, Display.backBuffer);
  DrawSprite(Display.backBuffer, 10, 20, sprite);
  FlipPage();
  const CapturedFrame& frame = HeadlessLastFrame();
  ASSERT_EQ(frame.width, 640);
  EXPECT_EQ(frame.At(10, 20), 0x00123456u);
  EXPECT_EQ(frame.At(11, 21), 0x00A0B0C0u);  // keyed out
  EXPECT_EQ(frame.At(639, 479), 0x00A0B0C0u);
  sprite->Release();

  CloseDisplay();
  const auto& modes = DisplayModeRequests();
  ASSERT_EQ(modes.size(), 3u);
  EXPECT_FALSE(modes[0].granted);
  EXPECT_TRUE(modes[1].granted);
  EXPECT_EQ(modes[1].bitsPerPixel, 24u);
  EXPECT_EQ(modes[2].width, 1280u);
  EXPECT_EQ(modes[2].bitsPerPixel, 32u);
}

TEST_F(DisplayFixture, FlipShowsTheBackBufferAndHandsBackTheOldPage) {
  ColorFill(0, 0, 640, 480, 0x00FF0000, Display.backBuffer);
  FlipPage();
  EXPECT_EQ(HeadlessLastFrame().At(320, 240), 0x00FF0000u);
  ColorFill(0, 0, 640, 480, 0x000000FF, Display.backBuffer);
  FlipPage();
  EXPECT_EQ(HeadlessLastFrame().At(0, 0), 0x000000FFu);
  // As on a real flipping chain, the back buffer now holds the page shown before.
  EXPECT_EQ(PixelAt(Display.backBuffer, 5, 5), 0x00FF0000u);
}

TEST_F(DisplayFixture, CloseReleasesEveryImageNumberAndCursorsMayBeReleasedAfter) {
  ImageSlots[0] = NewPicture(8, 8);
  ImageSlots[34] = NewPicture(8, 8);
  CursorImages.images[1] = NewPicture(8, 8);
  CloseDisplay();
  for (IDirectDrawSurface7* slot : ImageSlots) EXPECT_EQ(slot, nullptr);
  EXPECT_NE(CursorImages.images[1], nullptr);
  // Shutdown releases the cursor pictures after the DirectDraw object is gone.
  ReleaseCursorImage(0);
  ReleaseCursorImage(1);
  EXPECT_EQ(CursorImages.images[1], nullptr);
}

}  // namespace
