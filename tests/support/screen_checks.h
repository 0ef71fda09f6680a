// Checks of what the real game's window shows, shared by the real-window tests.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/game_picture.h"
#include "tests/support/real_game.h"
#include "tools/art/image.h"

// Nothing but black outside the game's picture.
::testing::AssertionResult BarsAreBlack(const Image& screenshot);

// The title picture over the whole frame, black bars around it, and the fly cursor, in any of
// its three pictures, with its top-left corner at (x, y).
RealGame::ScreenCheck TitleWithFlyCursorAt(const RealGame& game, int x, int y);

// The screen shows one of `pictures` (game pictures, drawn as the game draws them) in
// `region`, pixel for pixel but for `slack` pixels: for a screen of the game's own size, where
// the screenshot is the game's picture.
RealGame::ScreenCheck ShowsOneOf(std::vector<Image> pictures, GameRect region = kWholeFrame,
                                 int slack = 16);
