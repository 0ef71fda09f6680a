// The game's 640 x 480 picture on a real screen: scaled to fit with its aspect kept, centred,
// black bars elsewhere (the layout of the game's renderer); and comparing what a screenshot
// shows there with the picture the game should be showing.
#pragma once

#include "image.h"

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

// `sprite` drawn over `background` with its top-left corner at (x, y), black transparent,
// as the game draws its cursor pictures.
Image WithSprite(Image background, const Image& sprite, int x, int y);
