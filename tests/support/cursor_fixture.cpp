#include "tests/support/cursor_fixture.h"

#include <SDL.h>

#include <string>

#include "input/input_devices.h"
#include "tests/support/bmp_bytes.h"

void FrameWithButton(bool down) {
  PushScriptedInput(ScriptMouseButton(0, down));
  UpdateMouse();
}

void Move(int dx, int dy) {
  PushScriptedInput(ScriptMouseMotion(dx, dy));
  UpdateMouse();
}

void CursorFixture::SetUp() {
  DisplayFixture::SetUp();
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0);
  ASSERT_EQ(OpenInput(), 0);
  mouseReads = 0;
  HeadlessSetYieldHandler(CountingYield);
}

void CursorFixture::TearDown() {
  CloseInput();
  DisplayFixture::TearDown();
}

void CursorFixture::LoadPlainCursor(int index, int width, int height, uint32_t color) {
  const std::string name = "Cursor" + std::to_string(index) + ".bmp";
  const std::string path = WritePicture(
      name, MakeBmp(width, height, 24, false,
                    [color](int x, int y) { return x == 0 && y == 0 ? 0u : color; }));
  LoadCursorImage(index, path.c_str());
  ASSERT_NE(CursorImages.images[index], nullptr);
}

void CursorFixture::CountingYield(YieldPoint point) {
  if (point == YieldPoint::MouseRead) ++mouseReads;
  ScriptedInputOnYield(point);
}
