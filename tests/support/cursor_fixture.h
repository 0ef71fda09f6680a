// The display and the input devices open together, with cursor pictures made on the spot,
// for the tests of the cursor.
#pragma once

#include <cstdint>

#include "graphics/cursor_images.h"
#include "input/mouse_cursor.h"
#include "platform/sdl/scripted_input.h"
#include "tests/support/display_fixture.h"

// One frame's mouse work with the left button as given.
void FrameWithButton(bool down);
// One frame's mouse work with this motion.
void Move(int dx, int dy);

class CursorFixture : public DisplayFixture {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A cursor picture of one colour with a black (transparent) top-left pixel.
  void LoadPlainCursor(int index, int width, int height, uint32_t color);

  static inline int mouseReads = 0;

 private:
  static void CountingYield(YieldPoint point);
};
