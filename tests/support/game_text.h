// The game's texts as the game itself draws them (its font, its shadow), drawn in the test's
// own process onto a copy of the picture they stand on: what a screen with text should show.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/art/image.h"

// The Windows colours (0x00BBGGRR) of the game's texts.
constexpr uint32_t kYellowText = 0xFFFF;
constexpr uint32_t kRedText = 0xFF;

struct GameText {
  std::string text;
  int x;  // the top-left corner of the text's cell
  int y;
  uint32_t colorRef;
};

// `picture` with the texts drawn on it, in order, as the game's shadow text draws them; an
// empty picture when they cannot be drawn.
Image WithGameTexts(Image picture, const std::vector<GameText>& texts);
