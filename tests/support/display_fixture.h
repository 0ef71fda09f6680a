// A headless display for the graphics tests: the game's window and (unless a test opens it
// itself) its display, in a fresh working folder with a gfx/ folder for the test's pictures.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/display.h"
#include "platform/seams/headless.h"
#include "shell/win_main.h"

class DisplayFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  virtual bool OpenDisplayInSetUp() const { return true; }

  // The pixel as 0x00RRGGBB, at 32 or 24 bits per pixel.
  static uint32_t PixelAt(IDirectDrawSurface7* surface, int x, int y);
  static IDirectDrawSurface7* NewPicture(int width, int height);
  // Writes gfx/<name> and gives the game's name for it, "gfx\<name>".
  static std::string WritePicture(const std::string& name, const std::vector<uint8_t>& bytes);

  std::string workDir_;
};
