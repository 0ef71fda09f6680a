// A headless SDL with the game's input devices open, for the input tests.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include "input/input_devices.h"
#include "platform/seams/headless.h"

class InputFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    HeadlessEnable();
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS), 0) << SDL_GetError();
    ASSERT_EQ(OpenInput(), 0);
  }
  void TearDown() override {
    CloseInput();
    SDL_Quit();
  }
};
