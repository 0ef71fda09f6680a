// The play screen read from a picture of it as a player reads it: where the live flies crawl,
// where to swat them, and the numbers of the head-up display, told apart by drawing each
// candidate number as the game draws it and seeing which one the screen shows. Pictures are
// game pictures (GamePictureOf); the numbers read only where the screen is 640 x 480, so
// that the screenshot is the game's picture pixel for pixel.
#pragma once

#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "tests/support/game_picture.h"
#include "tests/support/screen_places.h"
#include "tools/art/image.h"

// The strip along the top in which the head-up display's texts stand.
constexpr int kHudHeight = 40;

// How far the swatter's corner goes.
constexpr int kSwatterRightmost = 575;
constexpr int kSwatterLowest = 402;

struct FlySighting {
  int x;  // the fly picture's top-left corner
  int y;
};

// The live flies that show whole below the head-up display: places where `seen` differs from
// `background` and one of `flyPictures` (the three of a live fly's animation) shows there.
std::vector<FlySighting> FindLiveFlies(const Image& seen, const Image& background,
                                       const std::vector<Image>& flyPictures);

using SwatterCorner = ScreenPlace;

// Where to put the swatter's corner so that a swat there meets the most of `flies`, with room
// to spare for their crawl in the moments before it lands; never where it would kill a fly
// lying over the head-up display's strip, and on even pixels (the cursor moves two pixels per
// mouse count from (0, 0)). Nothing when no fly is in reach.
std::optional<SwatterCorner> AimAt(const std::vector<FlySighting>& flies);

// How a swat of n targets changes the score, n = 0 (a miss) to 7.
int SwatScore(int targets);

enum class HudNumber { Score, CreamStock, SecondsLeft };

class HudReader {
 public:
  explicit HudReader(const Image& background);  // the stage's background picture

  // Which of `candidates` the display shows as `number`, drawn by the game where the rules
  // put it; nothing when it shows none of them (the value is another, or something lies
  // over it).
  std::optional<int> Read(const Image& seen, HudNumber number, const std::vector<int>& candidates);

 private:
  const Image& Drawn(HudNumber number, int value);

  Image strip_;  // the background's top strip
  std::map<std::pair<HudNumber, int>, Image> drawn_;
};
