// Fills, centring, full-screen pictures and the shadowed text, checked on flipped frames.
#include <SDL_ttf.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "graphics/drawing.h"
#include "platform/sdl/gdi_objects.h"
#include "tests/support/display_fixture.h"
#include "tests/support/file_bytes.h"
#include "tools/capture/frame_png.h"

namespace {

constexpr uint32_t kGrey = 0x00808080;

struct Box {
  int left = 640, top = 480, right = -1, bottom = -1;
  void Add(int x, int y) {
    left = std::min(left, x);
    top = std::min(top, y);
    right = std::max(right, x);
    bottom = std::max(bottom, y);
  }
};

Box BoxWhere(const CapturedFrame& frame, const std::function<bool(uint32_t)>& test) {
  Box box;
  for (int y = 0; y < frame.height; ++y) {
    for (int x = 0; x < frame.width; ++x) {
      if (test(frame.At(x, y))) box.Add(x, y);
    }
  }
  return box;
}

TEST_F(DisplayFixture, FillsCoverExactlyTheirRectangle) {
  ColorFill(0, 0, 640, 480, 0x00FFFFFF, Display.backBuffer);
  ColorFill(0, 0, 640, 480, 0, Display.backBuffer);
  ColorFill(300, 100, 301, 480, 0x00FF0000, Display.backBuffer);
  FlipPage();
  const CapturedFrame& frame = HeadlessLastFrame();
  const Box red = BoxWhere(frame, [](uint32_t p) { return p == 0x00FF0000; });
  EXPECT_EQ(red.left, 300);
  EXPECT_EQ(red.right, 300);
  EXPECT_EQ(red.top, 100);
  EXPECT_EQ(red.bottom, 479);
  EXPECT_EQ(BoxWhere(frame, [](uint32_t p) { return p != 0 && p != 0x00FF0000; }).right, -1);
}

TEST_F(DisplayFixture, CentringTruncates) {
  IDirectDrawSurface7* full = NewPicture(640, 480);
  IDirectDrawSurface7* small = NewPicture(32, 32);
  IDirectDrawSurface7* odd = NewPicture(101, 7);
  EXPECT_EQ(CenterOffsetX(full), 0);
  EXPECT_EQ(CenterOffsetY(full), 0);
  EXPECT_EQ(CenterOffsetX(small), 304);
  EXPECT_EQ(CenterOffsetY(small), 224);
  EXPECT_EQ(CenterOffsetX(odd), 269);
  EXPECT_EQ(CenterOffsetY(odd), 236);
  ColorFill(0, 0, 101, 7, 0x0000FF00, odd);
  ColorFill(0, 0, 640, 480, 0, Display.backBuffer);
  DrawCentered(Display.backBuffer, odd);
  FlipPage();
  const Box green = BoxWhere(HeadlessLastFrame(), [](uint32_t p) { return p == 0x0000FF00; });
  EXPECT_EQ(green.left, 269);
  EXPECT_EQ(green.top, 236);
  EXPECT_EQ(green.right, 369);
  full->Release();
  small->Release();
  odd->Release();
}

TEST_F(DisplayFixture, SpriteCrossingAnEdgeDrawsNothing) {
  IDirectDrawSurface7* fly = NewPicture(32, 32);
  ColorFill(0, 0, 32, 32, 0x00FFFF00, fly);
  ColorFill(0, 0, 640, 480, kGrey, Display.backBuffer);
  DrawSprite(Display.backBuffer, 609, 10, fly);   // one column past the right edge
  DrawSprite(Display.backBuffer, 10, 449, fly);   // one row past the bottom
  DrawOpaque(Display.backBuffer, -1, 10, fly);    // left of the screen
  DrawSprite(Display.backBuffer, 10, 10, nullptr);  // an empty image number
  FlipPage();
  EXPECT_EQ(BoxWhere(HeadlessLastFrame(), [](uint32_t p) { return p != kGrey; }).right, -1);
  DrawSprite(Display.backBuffer, 608, 448, fly);
  FlipPage();
  EXPECT_EQ(HeadlessLastFrame().At(639, 479), 0x00FFFF00u);
  fly->Release();
}

TEST_F(DisplayFixture, FullScreenPictureIsStretched) {
  IDirectDrawSurface7* half = NewPicture(320, 240);
  ColorFill(0, 0, 320, 240, 0x000000FF, half);
  ColorFill(160, 0, 320, 240, 0x00FF0000, half);
  DrawFullScreen(half);
  FlipPage();
  const CapturedFrame& frame = HeadlessLastFrame();
  EXPECT_EQ(frame.At(0, 0), 0x000000FFu);
  EXPECT_EQ(frame.At(319, 479), 0x000000FFu);
  EXPECT_EQ(frame.At(320, 0), 0x00FF0000u);
  EXPECT_EQ(frame.At(639, 479), 0x00FF0000u);
  half->Release();
}

class Text : public DisplayFixture {
 protected:
  void SetUp() override {
    DisplayFixture::SetUp();
    CreateGameFont();
    ASSERT_NE(GameFont, nullptr);
  }
};

TEST_F(Text, FontCellIsThirtyPixelsInComicOrItsStandIn) {
  EXPECT_EQ(TTF_FontHeight(GameFont->font), 30);
  const char* family = TTF_FontFaceFamilyName(GameFont->font);
  ASSERT_NE(family, nullptr);
  EXPECT_NE(std::string(family).find("Comic"), std::string::npos) << family;
}

// An empty fontconfig configuration knows no font at all: the texts still show, in the face
// from the file that the installation brings.
TEST_F(DisplayFixture, WithNoFontConfiguredTheTextsStillHaveTheirFace) {
  const std::string configuration = "<fontconfig></fontconfig>";
  WriteText("no-fonts.conf", configuration);
  const std::string path = std::filesystem::absolute("no-fonts.conf").string();
  ASSERT_EQ(setenv("FONTCONFIG_FILE", path.c_str(), 1), 0);  // before fontconfig starts
  CreateGameFont();
  ASSERT_NE(GameFont, nullptr);
  EXPECT_EQ(TTF_FontHeight(GameFont->font), 30);
  EXPECT_STREQ(TTF_FontFaceFamilyName(GameFont->font), "Comic Neue");
  EXPECT_EQ(DrawShadowText("Stage 10", 100, 200, 0xFFFF, Display.backBuffer), 1);
}

// The yellow text with its black shadow two pixels right and down, on grey.
TEST_F(Text, ShadowFallsTwoPixelsRightAndDown) {
  ColorFill(0, 0, 640, 480, kGrey, Display.backBuffer);
  EXPECT_EQ(DrawShadowText("Stage 10", 100, 200, 0xFFFF, Display.backBuffer), 1);
  FlipPage();
  const CapturedFrame& frame = HeadlessLastFrame();
  WriteFramePng(frame, std::string(ZIMBREL_RUN_DIR) + "/../shadow_text.png");
  const Box yellow = BoxWhere(frame, [](uint32_t p) { return p == 0x00FFFF00; });
  const Box black = BoxWhere(frame, [](uint32_t p) { return p == 0; });
  ASSERT_GE(yellow.right, 0);
  EXPECT_EQ(black.right, yellow.right + 2);
  EXPECT_EQ(black.bottom, yellow.bottom + 2);
  // The glyphs lie inside the 30-pixel cell whose top-left corner is (100, 200).
  EXPECT_GE(yellow.left, 100);
  EXPECT_GE(yellow.top, 200);
  EXPECT_LT(yellow.bottom, 230);
  EXPECT_GT(yellow.right - yellow.left, 60);  // eight characters, not one
  // Nothing outside the text and its shadow changed.
  const Box touched = BoxWhere(frame, [](uint32_t p) { return p != kGrey; });
  EXPECT_LE(touched.right, black.right + 1);  // the shadow's anti-aliased edge
  EXPECT_LE(touched.bottom, black.bottom + 1);
}

TEST_F(Text, BannerGoesOntoTheBackgroundAtItsComputedX) {
  ImageSlots[0] = NewPicture(640, 480);
  IDirectDrawSurface7* reference = NewPicture(640, 480);
  ColorFill(0, 0, 640, 480, kGrey, ImageSlots[0]);
  ColorFill(0, 0, 640, 480, kGrey, reference);
  DrawBannerText("You did it !", 300);
  DrawShadowText("You did it !", 230, 300, 0xFFFF, reference);
  int differences = 0, drawn = 0;
  for (int y = 290; y < 340; ++y) {
    for (int x = 0; x < 640; ++x) {
      differences += PixelAt(ImageSlots[0], x, y) != PixelAt(reference, x, y);
      drawn += PixelAt(ImageSlots[0], x, y) != kGrey;
    }
  }
  EXPECT_EQ(differences, 0);
  EXPECT_GT(drawn, 100);
  // The back buffer is not drawn on; the banner shows once the background is drawn.
  EXPECT_EQ(PixelAt(Display.backBuffer, 240, 310), 0u);
  reference->Release();
}

TEST_F(Text, NoDeviceContextDrawsNothing) {
  ColorFill(0, 0, 640, 480, kGrey, Display.backBuffer);
  HeadlessFailStep("GetDC");
  EXPECT_EQ(DrawShadowText("Miss", 10, 10, 0xFF, Display.backBuffer), 0);
  EXPECT_EQ(PixelAt(Display.backBuffer, 15, 20), kGrey);
}

TEST_F(DisplayFixture, LockedPixelsAreWordsRowByRow) {
  ColorFill(0, 0, 640, 480, 0, Display.backBuffer);
  ColorFill(37, 411, 38, 412, 0x00ABCDEF, Display.backBuffer);
  uint32_t* pixels = LockPixels(Display.backBuffer);
  ASSERT_NE(pixels, nullptr);
  const int wordsPerRow = Display.surfaceDesc.lPitch / 4;
  EXPECT_EQ(pixels[411 * wordsPerRow + 37] & 0x00FFFFFF, 0x00ABCDEFu);
  pixels[5 * wordsPerRow + 6] = 0x00123456;
  UnlockPixels(Display.backBuffer);
  EXPECT_EQ(PixelAt(Display.backBuffer, 6, 5), 0x00123456u);
  HeadlessFailStep("Lock");
  EXPECT_EQ(LockPixels(Display.backBuffer), nullptr);
}

}  // namespace
