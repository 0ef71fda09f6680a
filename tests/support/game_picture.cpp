#include "tests/support/game_picture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

GameViewport GameViewport::ForScreen(int screenWidth, int screenHeight) {
  // Scaled by the screen's tighter side; the other side is rounded down and centred.
  if (screenWidth * kGameHeight <= screenHeight * kGameWidth) {
    const int height = screenWidth * kGameHeight / kGameWidth;
    return {0, (screenHeight - height) / 2, screenWidth, height};
  }
  const int width = screenHeight * kGameWidth / kGameHeight;
  return {(screenWidth - width) / 2, 0, width, screenHeight};
}

int GameViewport::ScreenX(int gameX) const {
  return x + (2 * gameX + 1) * width / (2 * kGameWidth);
}
int GameViewport::ScreenY(int gameY) const {
  return y + (2 * gameY + 1) * height / (2 * kGameHeight);
}

namespace {

// The colour that scaling with linear filtering puts on a screen pixel: the picture sampled
// at the pixel's middle, mapped back into the picture, between its four nearest pixels.
std::array<double, 3> ScaledColour(const Image& picture, const GameViewport& view, int screenX,
                                   int screenY) {
  const double u = (screenX - view.x + 0.5) * kGameWidth / view.width - 0.5;
  const double v = (screenY - view.y + 0.5) * kGameHeight / view.height - 0.5;
  const int left = static_cast<int>(std::floor(u));
  const int top = static_cast<int>(std::floor(v));
  const double across = u - left;
  const double down = v - top;
  auto at = [&picture](int x, int y) -> const Rgb8& {
    return picture.at(std::clamp(x, 0, kGameWidth - 1), std::clamp(y, 0, kGameHeight - 1));
  };
  auto mix = [across, down](uint8_t topLeft, uint8_t topRight, uint8_t bottomLeft,
                            uint8_t bottomRight) {
    return (topLeft * (1 - across) + topRight * across) * (1 - down) +
           (bottomLeft * (1 - across) + bottomRight * across) * down;
  };
  const Rgb8& a = at(left, top);
  const Rgb8& b = at(left + 1, top);
  const Rgb8& c = at(left, top + 1);
  const Rgb8& d = at(left + 1, top + 1);
  return {mix(a.r, b.r, c.r, d.r), mix(a.g, b.g, c.g, d.g), mix(a.b, b.b, c.b, d.b)};
}

}  // namespace

double MeanDifference(const Image& screenshot, const Image& expected, GameRect region) {
  const GameViewport view = GameViewport::ForScreen(screenshot.width, screenshot.height);
  if (expected.width != kGameWidth || expected.height != kGameHeight || region.width <= 0 ||
      region.height <= 0) {
    return 255;
  }
  double total = 0;
  for (int y = region.y; y < region.y + region.height; ++y) {
    for (int x = region.x; x < region.x + region.width; ++x) {
      const int screenX = view.ScreenX(x);
      const int screenY = view.ScreenY(y);
      const Rgb8& seen = screenshot.at(screenX, screenY);
      const std::array<double, 3> wanted = ScaledColour(expected, view, screenX, screenY);
      total += std::abs(seen.r - wanted[0]) + std::abs(seen.g - wanted[1]) +
               std::abs(seen.b - wanted[2]);
    }
  }
  return total / (3.0 * region.width * region.height);
}

int BrightestOutsidePicture(const Image& screenshot) {
  const GameViewport view = GameViewport::ForScreen(screenshot.width, screenshot.height);
  int brightest = 0;
  for (int y = 0; y < screenshot.height; ++y) {
    for (int x = 0; x < screenshot.width; ++x) {
      const bool inside =
          x >= view.x && x < view.x + view.width && y >= view.y && y < view.y + view.height;
      if (inside) continue;
      const Rgb8& pixel = screenshot.at(x, y);
      brightest = std::max({brightest, int{pixel.r}, int{pixel.g}, int{pixel.b}});
    }
  }
  return brightest;
}

Image GamePictureOf(const Image& screenshot) {
  const GameViewport view = GameViewport::ForScreen(screenshot.width, screenshot.height);
  Image picture(kGameWidth, kGameHeight);
  for (int y = 0; y < kGameHeight; ++y) {
    for (int x = 0; x < kGameWidth; ++x) {
      picture.at(x, y) = screenshot.at(view.ScreenX(x), view.ScreenY(y));
    }
  }
  return picture;
}

bool ColoursDiffer(const Rgb8& a, const Rgb8& b, int threshold) {
  return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)}) > threshold;
}

int DifferingPixels(const Image& seen, const Image& expected, GameRect region, int threshold) {
  int differing = 0;
  for (int y = region.y; y < region.y + region.height; ++y) {
    for (int x = region.x; x < region.x + region.width; ++x) {
      if (x >= expected.width || y >= expected.height || x >= seen.width || y >= seen.height) {
        ++differing;
        continue;
      }
      if (ColoursDiffer(seen.at(x, y), expected.at(x, y), threshold)) ++differing;
    }
  }
  return differing;
}

double ShownShare(const Image& seen, const Image& expected, const Image& plain, GameRect region,
                  int threshold) {
  int own = 0;
  int shown = 0;
  for (int y = std::max(region.y, 0); y < region.y + region.height; ++y) {
    for (int x = std::max(region.x, 0); x < region.x + region.width; ++x) {
      if (x >= kGameWidth || y >= kGameHeight) continue;
      if (!ColoursDiffer(expected.at(x, y), plain.at(x, y), threshold)) continue;
      ++own;
      if (!ColoursDiffer(seen.at(x, y), expected.at(x, y), threshold)) ++shown;
    }
  }
  return own == 0 ? 0.0 : static_cast<double>(shown) / own;
}

double SpriteShare(const Image& seen, const Image& sprite, int x, int y, int threshold) {
  int own = 0;
  int shown = 0;
  for (int row = std::max(0, -y); row < std::min(sprite.height, seen.height - y); ++row) {
    for (int column = std::max(0, -x); column < std::min(sprite.width, seen.width - x); ++column) {
      const Rgb8& pixel = sprite.at(column, row);
      if (pixel == Rgb8{}) continue;
      ++own;
      if (!ColoursDiffer(seen.at(x + column, y + row), pixel, threshold)) ++shown;
    }
  }
  return own == 0 ? 0.0 : static_cast<double>(shown) / own;
}

Image WithSprite(Image background, const Image& sprite, int x, int y) {
  for (int row = 0; row < sprite.height; ++row) {
    for (int column = 0; column < sprite.width; ++column) {
      const Rgb8& pixel = sprite.at(column, row);
      const int targetX = x + column;
      const int targetY = y + row;
      if (pixel == Rgb8{} || targetX >= background.width || targetY >= background.height) continue;
      background.at(targetX, targetY) = pixel;
    }
  }
  return background;
}
