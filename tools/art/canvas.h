#pragma once
// A cairo drawing surface that turns into the game's pictures: opaque backdrops, or sprites
// whose every pixel is either pure black (transparent) or a colour no darker than (8, 8, 8).
#include <cairo.h>

#include <string>

#include "tools/art/image.h"

class Canvas {
 public:
  Canvas(int width, int height);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  cairo_t* cr() const { return cr_; }
  int width() const { return width_; }
  int height() const { return height_; }

  // Every pixel as drawn, composited over black.
  Image ToOpaque() const;
  // Pixels covered at least half become opaque; the rest become the transparent black.
  Image ToSprite() const;
  bool WritePng(const std::string& path) const;

 private:
  int width_;
  int height_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
};

// The darkest channel value a sprite may use; pure black is the colour key.
inline constexpr std::uint8_t kDarkestSpriteChannel = 8;
