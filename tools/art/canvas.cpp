#include "tools/art/canvas.h"

#include <algorithm>
#include <cstdint>

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      cr_(cairo_create(surface_)) {
  cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
}

Canvas::~Canvas() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

namespace {

struct Argb {
  std::uint8_t a, r, g, b;
};

Argb PixelAt(cairo_surface_t* surface, int x, int y) {
  const unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const auto word = *reinterpret_cast<const std::uint32_t*>(data + y * stride + x * 4);
  return Argb{static_cast<std::uint8_t>(word >> 24), static_cast<std::uint8_t>(word >> 16),
              static_cast<std::uint8_t>(word >> 8), static_cast<std::uint8_t>(word)};
}

std::uint8_t Unpremultiply(std::uint8_t channel, std::uint8_t alpha) {
  return static_cast<std::uint8_t>(std::min(255, (channel * 255 + alpha / 2) / alpha));
}

std::uint8_t KeepOffBlack(std::uint8_t channel) { return std::max(channel, kDarkestSpriteChannel); }

}  // namespace

Image Canvas::ToOpaque() const {
  cairo_surface_flush(surface_);
  Image image(width_, height_);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const Argb p = PixelAt(surface_, x, y);
      image.at(x, y) = Rgb8{p.r, p.g, p.b};  // premultiplied = composited over black
    }
  }
  return image;
}

Image Canvas::ToSprite() const {
  cairo_surface_flush(surface_);
  Image image(width_, height_);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const Argb p = PixelAt(surface_, x, y);
      if (p.a < 128) continue;
      image.at(x, y) = Rgb8{KeepOffBlack(Unpremultiply(p.r, p.a)), KeepOffBlack(Unpremultiply(p.g, p.a)),
                            KeepOffBlack(Unpremultiply(p.b, p.a))};
    }
  }
  return image;
}

bool Canvas::WritePng(const std::string& path) const {
  return cairo_surface_write_to_png(surface_, path.c_str()) == CAIRO_STATUS_SUCCESS;
}
