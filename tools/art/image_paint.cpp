#include "tools/art/image_paint.h"

#include <cstdint>

void PaintImage(cairo_t* cr, const Image& image, double x, double y, bool keyed) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.width, image.height);
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int row = 0; row < image.height; ++row) {
    auto* out = reinterpret_cast<std::uint32_t*>(data + row * stride);
    for (int col = 0; col < image.width; ++col) {
      const Rgb8 p = image.at(col, row);
      const bool transparent = keyed && p == Rgb8{};
      out[col] = transparent ? 0u : (0xFF000000u | static_cast<std::uint32_t>(p.r) << 16 |
                                     static_cast<std::uint32_t>(p.g) << 8 | p.b);
    }
  }
  cairo_surface_mark_dirty(surface);
  cairo_set_source_surface(cr, surface, x, y);
  cairo_paint(cr);
  cairo_surface_destroy(surface);
}

void PaintCheckerboard(cairo_t* cr, double x, double y, double w, double h, double cell) {
  cairo_save(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_clip(cr);
  cairo_set_source_rgb(cr, 0.62, 0.62, 0.64);
  cairo_paint(cr);
  cairo_set_source_rgb(cr, 0.74, 0.74, 0.76);
  for (int j = 0; j * cell < h; ++j) {
    for (int i = (j % 2); i * cell < w; i += 2) cairo_rectangle(cr, x + i * cell, y + j * cell, cell, cell);
  }
  cairo_fill(cr);
  cairo_restore(cr);
}
