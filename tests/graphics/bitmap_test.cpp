// Pictures from BMP files and from the program's resources onto surfaces.
#include "graphics/bitmap_surface.h"
#include "graphics/drawing.h"
#include "platform/files/bitmap_resources.h"
#include "tests/support/bmp_bytes.h"
#include "tests/support/display_fixture.h"

namespace {

// Red, green, blue and white corners on black: any flip or shift shows.
uint32_t Corners(int x, int y) {
  if (x == 0 && y == 0) return 0x00FF0000;
  if (x == 5 && y == 0) return 0x0000FF00;
  if (x == 0 && y == 3) return 0x000000FF;
  if (x == 5 && y == 3) return 0x00FFFFFF;
  return 0;
}
// Two colours for one bit per pixel.
uint32_t WhiteTopLeft(int x, int y) { return x == 0 && y == 0 ? 0x00FFFFFF : 0; }

struct Variant {
  int bits;
  bool topDown;
  bool rulesOnly = false;  // its copy into the surface waits until the lock looks at it
};

class BitmapVariants : public DisplayFixture, public ::testing::WithParamInterface<Variant> {};

TEST_P(BitmapVariants, LoadAtTheirSizeInTheDisplayFormat) {
  const Variant variant = GetParam();
  const PixelFunction colors = variant.bits == 1 ? PixelFunction(WhiteTopLeft) : Corners;
  const std::string path =
      WritePicture("Pic.bmp", MakeBmp(6, 4, variant.bits, variant.topDown, colors));
  if (variant.rulesOnly) HeadlessDrawNothing();
  IDirectDrawSurface7* surface = LoadBitmapSurface(Display.directDraw, path.c_str(), 0, 0);
  ASSERT_NE(surface, nullptr);
  EXPECT_EQ(LastBitmapWidth, 6);
  EXPECT_EQ(LastBitmapHeight, 4);
  DDSURFACEDESC2 desc{};
  surface->GetSurfaceDesc(&desc);
  EXPECT_EQ(desc.dwWidth, 6u);
  EXPECT_EQ(desc.dwHeight, 4u);
  EXPECT_EQ(desc.ddpfPixelFormat.dwRGBBitCount, 32u);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 6; ++x) EXPECT_EQ(PixelAt(surface, x, y), colors(x, y)) << x << "," << y;
  }
  surface->Release();
}

INSTANTIATE_TEST_SUITE_P(EveryDepth, BitmapVariants,
                         ::testing::Values(Variant{1, false}, Variant{4, false},
                                           Variant{8, false}, Variant{16, false},
                                           Variant{24, false}, Variant{32, false},
                                           Variant{24, true}, Variant{32, true},
                                           Variant{8, true}, Variant{24, false, true},
                                           Variant{8, true, true}));

// Files as a paint program writes them: a full-screen 24-bit picture and a 32-bit one with an
// alpha channel (a BITMAPV5 header with bit fields).
TEST_F(DisplayFixture, ImageMagickPicturesLoad) {
  ASSERT_EQ(std::system("convert -size 640x480 xc:'#3060C0' -fill '#FF8000' "
                        "-draw 'rectangle 0,0 9,9' BMP3:gfx/Back.bmp"),
            0);
  ASSERT_EQ(std::system("convert -size 32x32 xc:none -fill '#40FF40' -draw 'rectangle 4,4 27,27' "
                        "-alpha on BMP:gfx/Alpha.bmp"),
            0);
  IDirectDrawSurface7* back = LoadBitmapSurface(Display.directDraw, "gfx\\Back.bmp", 0, 0);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(LastBitmapWidth, 640);
  EXPECT_EQ(LastBitmapHeight, 480);
  EXPECT_EQ(PixelAt(back, 9, 9), 0x00FF8000u);
  EXPECT_EQ(PixelAt(back, 639, 479), 0x003060C0u);
  IDirectDrawSurface7* alpha = LoadBitmapSurface(Display.directDraw, "gfx\\Alpha.bmp", 0, 0);
  ASSERT_NE(alpha, nullptr);
  EXPECT_EQ(PixelAt(alpha, 10, 10), 0x0040FF40u);
  EXPECT_EQ(PixelAt(alpha, 0, 0), 0u);  // transparent pixels arrive black
  back->Release();
  alpha->Release();
}

TEST_F(DisplayFixture, UnreadablePicturesGiveNoneAndKeepTheLastSize) {
  WritePicture("Good.bmp", MakeBmp(7, 5, 24, false, Corners));
  IDirectDrawSurface7* good = LoadBitmapSurface(Display.directDraw, "gfx\\Good.bmp", 0, 0);
  ASSERT_NE(good, nullptr);
  good->Release();

  std::vector<uint8_t> truncated = MakeBmp(64, 64, 24, false, Corners);
  truncated.resize(truncated.size() / 2);
  std::vector<uint8_t> hugeHeader = MakeBmp(4, 4, 24, false, Corners);
  hugeHeader[18] = hugeHeader[19] = hugeHeader[20] = 0xFF;  // width far beyond the data
  hugeHeader[21] = 0x3F;
  const std::vector<std::string> broken = {
      WritePicture("Half.bmp", truncated), WritePicture("Huge.bmp", hugeHeader),
      WritePicture("Text.bmp", {'n', 'o', 't', ' ', 'a', ' ', 'b', 'm', 'p'}),
      WritePicture("Empty.bmp", {}), "gfx\\Missing.bmp"};
  for (const std::string& path : broken) {
    EXPECT_EQ(LoadBitmapSurface(Display.directDraw, path.c_str(), 0, 0), nullptr) << path;
  }
  EXPECT_EQ(LastBitmapWidth, 7);
  EXPECT_EQ(LastBitmapHeight, 5);
}

TEST_F(DisplayFixture, SizeIsNotedEvenWhenTheSurfaceCannotBeMade) {
  const std::string path = WritePicture("Fly1.bmp", MakeBmp(9, 3, 24, false, Corners));
  HeadlessFailStep("CreateOffscreenSurface");
  EXPECT_EQ(LoadBitmapSurface(Display.directDraw, path.c_str(), 0, 0), nullptr);
  EXPECT_EQ(LastBitmapWidth, 9);
  EXPECT_EQ(LastBitmapHeight, 3);
}

TEST_F(DisplayFixture, ResourceOfTheSameNameWinsOverTheFile) {
  WritePicture("Fly1.bmp", MakeBmp(6, 4, 24, false, Corners));
  static const std::vector<uint8_t> resource =
      MakeBmp(3, 2, 24, false, [](int, int) { return 0x00C0FFEEu; });
  AddBitmapResource("GFX\\FLY1.BMP", resource.data(), resource.size());
  IDirectDrawSurface7* surface = LoadBitmapSurface(Display.directDraw, "gfx\\Fly1.bmp", 0, 0);
  ASSERT_NE(surface, nullptr);
  EXPECT_EQ(LastBitmapWidth, 3);
  EXPECT_EQ(PixelAt(surface, 2, 1), 0x00C0FFEEu);
  surface->Release();
  // Other names still come from their files.
  WritePicture("Fly2.bmp", MakeBmp(6, 4, 24, false, Corners));
  surface = LoadBitmapSurface(Display.directDraw, "gfx\\Fly2.bmp", 0, 0);
  ASSERT_NE(surface, nullptr);
  EXPECT_EQ(LastBitmapWidth, 6);
  surface->Release();
}

TEST_F(DisplayFixture, CopyStretchesTheSourceRectangleOverTheSurface) {
  WritePicture("Src.bmp", MakeBmp(6, 4, 24, false, Corners));
  auto bitmap = static_cast<HBITMAP>(
      LoadImageA(nullptr, "gfx\\Src.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  ASSERT_NE(bitmap, nullptr);
  IDirectDrawSurface7* surface = NewPicture(4, 4);
  // The one-pixel rectangle at (5, 3), white, fills all of the surface.
  EXPECT_EQ(CopyBitmapToSurface(surface, bitmap, 5, 3, 1, 1), DD_OK);
  EXPECT_EQ(PixelAt(surface, 0, 0), 0x00FFFFFFu);
  EXPECT_EQ(PixelAt(surface, 3, 3), 0x00FFFFFFu);
  EXPECT_EQ(CopyBitmapToSurface(nullptr, bitmap, 0, 0, 0, 0), E_FAIL);
  EXPECT_EQ(CopyBitmapToSurface(surface, nullptr, 0, 0, 0, 0), E_FAIL);
  EXPECT_EQ(DeleteObject(bitmap), TRUE);
  surface->Release();
  // Asked for another size, the loader stretches the picture to it.
  bitmap = static_cast<HBITMAP>(
      LoadImageA(nullptr, "gfx\\Src.bmp", IMAGE_BITMAP, 12, 8, LR_LOADFROMFILE));
  ASSERT_NE(bitmap, nullptr);
  BITMAP info;
  ASSERT_EQ(GetObjectA(bitmap, sizeof info, &info), static_cast<int>(sizeof info));
  EXPECT_EQ(info.bmWidth, 12);
  EXPECT_EQ(info.bmHeight, 8);
  EXPECT_EQ(DeleteObject(bitmap), TRUE);
}

TEST_F(DisplayFixture, MissingMemoryContextIsReportedToTheDebugger) {
  const std::string path = WritePicture("Fly1.bmp", MakeBmp(6, 4, 24, false, Corners));
  HeadlessFailStep("CreateCompatibleDC");
  ::testing::internal::CaptureStderr();
  IDirectDrawSurface7* surface = LoadBitmapSurface(Display.directDraw, path.c_str(), 0, 0);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "createcompatible dc failed\n");
  ASSERT_NE(surface, nullptr);  // the surface comes back, without the picture
  EXPECT_EQ(PixelAt(surface, 0, 0), 0u);
  surface->Release();
}

}  // namespace
