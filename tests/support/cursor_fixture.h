// The display and the input devices open together, with cursor pictures made on the spot,
// for the tests of the cursor.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>

#include "graphics/cursor_images.h"
#include "input/input_devices.h"
#include "input/mouse_cursor.h"
#include "platform/sdl/scripted_input.h"
#include "tests/support/display_fixture.h"

// One frame's mouse work with the left button as given.
inline void FrameWithButton(bool down) {
  PushScriptedInput(ScriptMouseButton(0, down));
  UpdateMouse();
}

// One frame's mouse work with this motion.
inline void Move(int dx, int dy) {
  PushScriptedInput(ScriptMouseMotion(dx, dy));
  UpdateMouse();
}

class CursorFixture : public DisplayFixture {
 protected:
  void SetUp() override {
    DisplayFixture::SetUp();
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0);
    ASSERT_EQ(OpenInput(), 0);
    mouseReads = 0;
    HeadlessSetYieldHandler(CountingYield);
  }
  void TearDown() override {
    CloseInput();
    DisplayFixture::TearDown();
  }

  // A cursor picture of one colour with a black (transparent) top-left pixel.
  void LoadPlainCursor(int index, int width, int height, uint32_t color) {
    const std::string name = "Cursor" + std::to_string(index) + ".bmp";
    const std::string path = WritePicture(
        name, MakeBmp(width, height, 24, false,
                      [color](int x, int y) { return x == 0 && y == 0 ? 0u : color; }));
    LoadCursorImage(index, path.c_str());
    ASSERT_NE(CursorImages.images[index], nullptr);
  }

  static inline int mouseReads = 0;

 private:
  static void CountingYield(YieldPoint point) {
    if (point == YieldPoint::MouseRead) ++mouseReads;
    ScriptedInputOnYield(point);
  }
};
