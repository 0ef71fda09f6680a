#include "tests/support/input_fixture.h"

#include <SDL.h>

#include "input/input_devices.h"
#include "platform/seams/headless.h"

void PushKey(int scancode, bool down, uint16_t modifiers, int32_t printed) {
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.scancode = static_cast<SDL_Scancode>(scancode);
  event.key.keysym.mod = modifiers;
  event.key.keysym.sym = printed;
  ASSERT_EQ(SDL_PushEvent(&event), 1);
}

void InputFixture::SetUp() {
  HeadlessEnable();
  ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS), 0) << SDL_GetError();
  ASSERT_EQ(OpenInput(), 0);
}

void InputFixture::TearDown() {
  CloseInput();
  SDL_Quit();
}
