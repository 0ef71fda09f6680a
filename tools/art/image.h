#pragma once
// A plain 24-bit picture in memory: rows top-down, three bytes per pixel (red, green, blue).
#include <cstdint>
#include <vector>

struct Rgb8 {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb8&) const = default;
};

struct Image {
  int width = 0;
  int height = 0;
  std::vector<Rgb8> pixels;

  Image() = default;
  Image(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h)) {}
  Rgb8& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)]; }
  const Rgb8& at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)]; }
};
