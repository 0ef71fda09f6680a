// A picture that could not be loaded leaves its image number empty; every way of drawing it,
// or of drawing onto it, draws nothing and goes on.
#include "graphics/cursor_images.h"
#include "graphics/drawing.h"
#include "graphics/image_slots.h"
#include "input/draw_cursor.h"
#include "input/mouse_cursor.h"
#include "tests/support/display_fixture.h"

namespace {

constexpr uint32_t kGrey = 0x00808080;

TEST_F(DisplayFixture, EmptyPicturesDrawNothingAndNeverCrash) {
  IDirectDrawSurface7* back = Display.backBuffer;
  IDirectDrawSurface7* empty = ImageSlots[1];
  ASSERT_EQ(empty, nullptr);
  ASSERT_EQ(ImageSlots[0], nullptr) << "no background loaded";
  IDirectDrawSurface7* fly = NewPicture(32, 32);
  ColorFill(0, 0, 32, 32, 0x00FFFF00, fly);
  ColorFill(0, 0, 640, 480, kGrey, back);

  // An empty picture onto the back buffer.
  DrawFullScreen(empty);
  DrawOpaque(back, 10, 10, empty);
  DrawSprite(back, 10, 10, empty);
  DrawCentered(back, empty);
  EXPECT_EQ(CenterOffsetX(empty), 320);
  EXPECT_EQ(CenterOffsetY(empty), 240);
  EXPECT_NE(back->BltFast(10, 10, empty, nullptr, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT), DD_OK);
  EXPECT_NE(back->Blt(nullptr, empty, nullptr, DDBLT_WAIT, nullptr), DD_OK);

  // A real picture onto an empty target.
  DrawOpaque(empty, 0, 0, fly);
  DrawSprite(empty, 0, 0, fly);
  DrawCentered(empty, fly);
  EXPECT_NE(ColorFill(0, 0, 10, 10, 0, empty), DD_OK);
  EXPECT_EQ(DrawShadowText("Stage 1", 10, 10, 0xFFFF, empty), 0);
  DrawBannerText("You did it !", 300);  // onto the missing background
  EXPECT_EQ(LockPixels(empty), nullptr);
  UnlockPixels(empty);

  // The cursor with none of its pictures loaded, in each of its modes, swat sound included.
  Cursor.x = 100;
  Cursor.y = 100;
  Cursor.animated = true;
  for (int frame = 0; frame < 9; ++frame) DrawCursor();
  Cursor.animated = false;
  DrawCursor();
  Cursor.swatter = true;
  Cursor.swatActive = true;
  Cursor.swatTimer = 10;
  DrawCursor();

  FlipPage();
  const CapturedFrame& frame = HeadlessLastFrame();
  int touched = 0;
  for (int y = 0; y < frame.height; ++y) {
    for (int x = 0; x < frame.width; ++x) touched += frame.At(x, y) != kGrey;
  }
  EXPECT_EQ(touched, 0);
  fly->Release();
}

}  // namespace
