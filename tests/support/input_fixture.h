// A headless SDL with the game's input devices open, for the input tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

// A key event pushed into SDL's queue as the keyboard sends it: the key's place (an SDL
// scancode), with the modifiers held and the symbol the layout prints on it (SDL's keycode).
void PushKey(int scancode, bool down, uint16_t modifiers = 0, int32_t printed = 0);

class InputFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};
