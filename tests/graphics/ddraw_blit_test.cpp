// The blitter without a clipper: refusals at the edges, keys, stretching, busy surfaces, and
// 32-bit word access on a display of 24 bits per pixel.
#include "graphics/color_key.h"
#include "graphics/drawing.h"
#include "tests/support/display_fixture.h"

namespace {

class Blits : public DisplayFixture {
 protected:
  void SetUp() override {
    DisplayFixture::SetUp();
    target_ = NewPicture(16, 16);
    ColorFill(0, 0, 16, 16, 0x00112233, target_);
  }
  void TearDown() override {
    target_->Release();
    DisplayFixture::TearDown();
  }

  bool TargetUntouched() {
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        if (PixelAt(target_, x, y) != 0x00112233u) return false;
      }
    }
    return true;
  }

  IDirectDrawSurface7* target_ = nullptr;
};

TEST_F(Blits, BltFastPastAnyEdgeDrawsNothing) {
  IDirectDrawSurface7* picture = NewPicture(4, 4);
  ColorFill(0, 0, 4, 4, 0x00FFFFFF, picture);
  EXPECT_EQ(target_->BltFast(13, 0, picture, nullptr, DDBLTFAST_WAIT), DDERR_INVALIDRECT);
  EXPECT_EQ(target_->BltFast(0, 13, picture, nullptr, DDBLTFAST_WAIT), DDERR_INVALIDRECT);
  EXPECT_EQ(target_->BltFast(static_cast<DWORD>(-1), 0, picture, nullptr, DDBLTFAST_WAIT),
            DDERR_INVALIDRECT);
  RECT tooBig{0, 0, 5, 4};
  EXPECT_EQ(target_->BltFast(0, 0, picture, &tooBig, DDBLTFAST_WAIT), DDERR_INVALIDRECT);
  EXPECT_TRUE(TargetUntouched());
  // Flush with the corner is inside.
  EXPECT_EQ(target_->BltFast(12, 12, picture, nullptr, DDBLTFAST_WAIT), DD_OK);
  EXPECT_EQ(PixelAt(target_, 15, 15), 0x00FFFFFFu);
  picture->Release();
}

TEST_F(Blits, SourceRectangleAndSourceKey) {
  IDirectDrawSurface7* picture = NewPicture(4, 4);
  ColorFill(0, 0, 4, 4, 0, picture);
  ColorFill(2, 2, 4, 4, 0x00ABCDEF, picture);
  SetSurfaceColorKey(picture, 0);
  RECT part{1, 1, 4, 4};
  EXPECT_EQ(target_->BltFast(0, 0, picture, &part, DDBLTFAST_SRCCOLORKEY), DD_OK);
  EXPECT_EQ(PixelAt(target_, 0, 0), 0x00112233u);  // black of the picture left out
  EXPECT_EQ(PixelAt(target_, 1, 1), 0x00ABCDEFu);
  EXPECT_EQ(PixelAt(target_, 3, 3), 0x00112233u);  // beyond the 3 x 3 part
  EXPECT_EQ(target_->BltFast(8, 8, picture, nullptr, DDBLTFAST_NOCOLORKEY), DD_OK);
  EXPECT_EQ(PixelAt(target_, 8, 8), 0u);  // without the key black is copied
  picture->Release();
}

TEST_F(Blits, BltStretchesAndFillsExclusiveRectangles) {
  IDirectDrawSurface7* picture = NewPicture(2, 2);
  ColorFill(0, 0, 1, 2, 0x00FF0000, picture);
  ColorFill(1, 0, 2, 2, 0x0000FF00, picture);
  RECT to{4, 4, 12, 8};
  EXPECT_EQ(target_->Blt(&to, picture, nullptr, DDBLT_WAIT, nullptr), DD_OK);
  EXPECT_EQ(PixelAt(target_, 4, 4), 0x00FF0000u);
  EXPECT_EQ(PixelAt(target_, 7, 7), 0x00FF0000u);
  EXPECT_EQ(PixelAt(target_, 8, 4), 0x0000FF00u);
  EXPECT_EQ(PixelAt(target_, 11, 7), 0x0000FF00u);
  EXPECT_EQ(PixelAt(target_, 12, 4), 0x00112233u);
  EXPECT_EQ(PixelAt(target_, 4, 8), 0x00112233u);
  EXPECT_EQ(ColorFill(15, 0, 17, 16, 0, target_), DDERR_INVALIDRECT);
  EXPECT_EQ(PixelAt(target_, 15, 0), 0x00112233u);
  picture->Release();
}

TEST_F(Blits, OverlappingCopyWithinOneSurface) {
  for (int x = 0; x < 16; ++x) ColorFill(x, 0, x + 1, 1, static_cast<DWORD>(x), target_);
  RECT from{0, 0, 8, 1};
  EXPECT_EQ(target_->BltFast(2, 0, target_, &from, DDBLTFAST_WAIT), DD_OK);
  for (int x = 2; x < 10; ++x) EXPECT_EQ(PixelAt(target_, x, 0), static_cast<uint32_t>(x - 2));
}

TEST_F(Blits, LockedOrDrawnOnSurfacesRefuseBlitsAndFlips) {
  ASSERT_NE(LockPixels(target_), nullptr);
  EXPECT_EQ(ColorFill(0, 0, 16, 16, 0, target_), DDERR_SURFACEBUSY);
  HDC dc = nullptr;
  EXPECT_NE(target_->GetDC(&dc), DD_OK);
  UnlockPixels(target_);
  EXPECT_TRUE(TargetUntouched());
  ASSERT_EQ(Display.backBuffer->GetDC(&dc), DD_OK);
  const uint64_t frames = HeadlessFrameCount();
  EXPECT_EQ(Display.primary->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACEBUSY);
  EXPECT_EQ(HeadlessFrameCount(), frames);
  Display.backBuffer->ReleaseDC(dc);
  FlipPage();
  EXPECT_EQ(HeadlessFrameCount(), frames + 1);
}

class Blits24 : public DisplayFixture {
 protected:
  bool OpenDisplayInSetUp() const override { return false; }
};

// The game addresses pixels as 32-bit words even at 24 bits per pixel (the swatter's spots,
// the credits sweep). Every word that arithmetic reaches must stay inside the surface's memory;
// the sanitizer build catches a stray one.
TEST_F(Blits24, WordArithmeticStaysInsideTheSurface) {
  HeadlessFailStep("SetDisplayMode32");
  ASSERT_EQ(OpenDisplay(), nullptr);
  for (IDirectDrawSurface7* surface : {NewPicture(64, 167), Display.backBuffer}) {
    DDSURFACEDESC2 desc{};
    surface->GetSurfaceDesc(&desc);
    uint32_t* pixels = LockPixels(surface);
    ASSERT_NE(pixels, nullptr);
    const int wordsPerRow = Display.surfaceDesc.lPitch / 4;
    for (int v = 0; v < static_cast<int>(desc.dwHeight); ++v) {
      for (int u = 0; u < static_cast<int>(desc.dwWidth); ++u) {
        uint32_t& word = pixels[v * wordsPerRow + u];
        word = word + 1;
      }
    }
    UnlockPixels(surface);
    if (surface != Display.backBuffer) surface->Release();
  }
}

}  // namespace
