// A headless SDL with the game's input devices open, for the input tests.
#pragma once

#include <gtest/gtest.h>

class InputFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};
