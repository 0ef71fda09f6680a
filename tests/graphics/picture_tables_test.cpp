// The image numbers and the cursor pictures with their size and bounds.
#include "graphics/bitmap_surface.h"
#include "graphics/drawing.h"
#include "tests/support/bmp_bytes.h"
#include "tests/support/display_fixture.h"

namespace {

uint32_t Solid(int, int) { return 0x00406080; }

TEST_F(DisplayFixture, SwatterPictureKeepsOnlyItsUpperRowsOnScreen) {
  EXPECT_EQ(CursorImages.limitX, 640);
  EXPECT_EQ(CursorImages.limitY, 480);
  LoadCursorImage(0, WritePicture("Klatsche1.bmp", MakeBmp(64, 167, 24, false, Solid)).c_str());
  ASSERT_NE(CursorImages.images[0], nullptr);
  EXPECT_EQ(CursorImages.width, 64);
  EXPECT_EQ(CursorImages.height, 77);
  EXPECT_EQ(CursorImages.limitX, 576);
  EXPECT_EQ(CursorImages.limitY, 403);
  // The size is that of the picture loaded last, whatever its index.
  LoadCursorImage(2, WritePicture("Fly3.bmp", MakeBmp(40, 30, 8, false, Solid)).c_str());
  EXPECT_EQ(CursorImages.width, 40);
  EXPECT_EQ(CursorImages.height, 30);
  EXPECT_EQ(CursorImages.limitY, 450);
  // A picture that cannot be read leaves its entry empty and the last readable size.
  LoadCursorImage(0, "gfx\\Nothing.bmp");
  EXPECT_EQ(CursorImages.images[0], nullptr);
  EXPECT_EQ(CursorImages.width, 40);
  EXPECT_EQ(CursorImages.limitX, 600);
  ReleaseCursorImage(2);
  ReleaseCursorImage(2);  // an empty entry is left alone
  EXPECT_EQ(CursorImages.images[2], nullptr);
}

TEST_F(DisplayFixture, NewBackgroundReplacesTheOldWithItsMarks) {
  const std::string path = WritePicture("Back.bmp", MakeBmp(640, 480, 24, false, Solid));
  ImageSlots[0] = LoadBitmapSurface(Display.directDraw, path.c_str(), 0, 0);
  ASSERT_NE(ImageSlots[0], nullptr);
  ColorFill(10, 10, 20, 20, 0x00FF0000, ImageSlots[0]);  // a lasting mark
  ReleaseImageSlot(0);
  EXPECT_EQ(ImageSlots[0], nullptr);
  ReleaseImageSlot(0);
  ImageSlots[0] = LoadBitmapSurface(Display.directDraw, path.c_str(), 0, 0);
  DrawFullScreen(ImageSlots[0]);
  FlipPage();
  EXPECT_EQ(HeadlessLastFrame().At(15, 15), 0x00406080u);
}

TEST_F(DisplayFixture, SpriteNumbersLoadKeyedAndMissingOnesStayEmpty) {
  LoadImageSlot(27, "gfx\\Wesp.bmp");
  const auto blackLeftHalf = [](int x, int y) { return x < 16 ? 0u : Solid(x, y); };
  LoadImageSlot(28, WritePicture("Wesp2.bmp", MakeBmp(32, 32, 24, false, blackLeftHalf)).c_str());
  EXPECT_EQ(ImageSlots[27], nullptr);
  ASSERT_NE(ImageSlots[28], nullptr);
  // Keyed: the black half leaves the back buffer as it was.
  ColorFill(0, 0, 640, 480, 0x00FFFFFF, Display.backBuffer);
  DrawSprite(Display.backBuffer, 100, 100, ImageSlots[28]);
  EXPECT_EQ(PixelAt(Display.backBuffer, 100, 100), 0x00FFFFFFu);
  EXPECT_EQ(PixelAt(Display.backBuffer, 115, 131), 0x00FFFFFFu);
  EXPECT_EQ(PixelAt(Display.backBuffer, 116, 100), 0x00406080u);
  // Reloading releases the old surface first; the sanitizer build reports it if not.
  LoadImageSlot(28, "gfx\\Wesp2.bmp");
  EXPECT_NE(ImageSlots[28], nullptr);
}

}  // namespace
