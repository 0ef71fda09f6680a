#include "tests/support/input_fixture.h"

#include <SDL.h>

#include "input/input_devices.h"
#include "platform/seams/headless.h"

void InputFixture::SetUp() {
  HeadlessEnable();
  ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS), 0) << SDL_GetError();
  ASSERT_EQ(OpenInput(), 0);
}

void InputFixture::TearDown() {
  CloseInput();
  SDL_Quit();
}
