// The game's 640 x 480 picture on a real screen: scaled to fit with its aspect kept, centred,
// black bars elsewhere (the layout of the game's renderer); and comparing what a screenshot
// shows there with the picture the game should be showing.
#pragma once

#include "tools/art/image.h"

constexpr int kGameWidth = 640;
constexpr int kGameHeight = 480;

// A rectangle of the game's picture, in its own pixels.
struct GameRect {
  int x;
  int y;
  int width;
  int height;
};
constexpr GameRect kWholeFrame{0, 0, kGameWidth, kGameHeight};

// Where the game's picture lies on a screen of the given size.
struct GameViewport {
  int x;
  int y;
  int width;
  int height;

  static GameViewport ForScreen(int screenWidth, int screenHeight);
  // The screen pixel that shows the middle of the game's pixel (gameX, gameY).
  int ScreenX(int gameX) const;
  int ScreenY(int gameY) const;
};

// How far the screenshot's view of `region` is from the same region of `expected`, a 640 x 480
// picture, scaled as the game scales it (linear filtering): the mean absolute difference per
// colour channel, 0 (equal) to 255. The right picture is well under one unit off.
double MeanDifference(const Image& screenshot, const Image& expected, GameRect region);

// The brightest colour channel anywhere outside the game's picture: 0 when the bars are black.
int BrightestOutsidePicture(const Image& screenshot);

// The game's picture as the screenshot shows it, one pixel per pixel of the game (the screen
// pixel that shows its middle): the picture itself where the screen is 640 x 480.
Image GamePictureOf(const Image& screenshot);

// Two colours apart by more than `threshold` in some channel.
bool ColoursDiffer(const Rgb8& a, const Rgb8& b, int threshold);

// How many pixels of `region` in `seen` (a game picture) are noticeably unlike `expected`: a
// colour channel more than `threshold` apart. `expected` may be a top-left part of a game
// picture (a strip along the top, say); pixels of the region outside it count as unlike.
int DifferingPixels(const Image& seen, const Image& expected, GameRect region,
                    int threshold = 40);

// The share of the pixels of `region` in which `expected` differs from `plain` (a sprite, a
// text drawn over a picture) that `seen` shows as `expected` has them: 1 when all of them
// show, whatever else lies around them; 0 when there are none.
double ShownShare(const Image& seen, const Image& expected, const Image& plain, GameRect region,
                  int threshold = 40);

// The share of the sprite's own (not black) pixels that `seen` (a game picture) shows with
// the sprite's top-left corner at (x, y), within `threshold`; what lies beyond the picture's
// edge does not count.
double SpriteShare(const Image& seen, const Image& sprite, int x, int y, int threshold = 40);

// `sprite` drawn over `background` with its top-left corner at (x, y), black transparent,
// as the game draws its cursor pictures.
Image WithSprite(Image background, const Image& sprite, int x, int y);
