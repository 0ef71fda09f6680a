// Stage background 4: a window with the summer sky behind it, a white sill and a flower pot.
#include <array>

#include "assets/art/art.h"
#include "assets/art/backdrop_props.h"
#include "tools/art/cartoon.h"

void DrawWindowSillBackdrop(cairo_t* cr) {
  cairo_rectangle(cr, 0, 0, 640, 330);
  FillVertical(cr, Hex(0x8ED0FA), Hex(0xDDF2FF), 0, 330);
  cairo_new_path(cr);
  const double clouds[][2] = {{140, 120}, {430, 80}, {560, 220}, {250, 250}};
  for (const auto& c : clouds) {
    for (int i = 0; i < 4; ++i) Ellipse(cr, c[0] - 36 + i * 24, c[1] - (i % 2) * 10, 26, 18);
  }
  SetColor(cr, kWhite, 0.85);
  cairo_fill(cr);
  // Window frame and cross bars.
  const Color frame = Hex(0xF4F0E8);
  for (const auto& r : {std::array{0.0, 0.0, 640.0, 20.0}, std::array{0.0, 0.0, 20.0, 330.0},
                        std::array{620.0, 0.0, 20.0, 330.0}, std::array{310.0, 0.0, 20.0, 330.0},
                        std::array{0.0, 160.0, 640.0, 16.0}}) {
    cairo_rectangle(cr, r[0], r[1], r[2], r[3]);
  }
  FillVertical(cr, frame, Hex(0xD8D2C6), 0, 330);
  SetColor(cr, Hex(0xA8A090));
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  // The sill.
  cairo_rectangle(cr, 0, 330, 640, 150);
  FillVertical(cr, Hex(0xFFFDF6), Hex(0xE2DCCE), 330, 480);
  cairo_new_path(cr);
  cairo_rectangle(cr, 0, 322, 640, 14);
  FillVertical(cr, Hex(0xFFFFFF), Hex(0xCFC8B8), 322, 336);
  Ink(cr, 2.5);
  // Flower pot on the right.
  cairo_move_to(cr, 470, 300);
  cairo_line_to(cr, 570, 300);
  cairo_line_to(cr, 556, 400);
  cairo_line_to(cr, 484, 400);
  cairo_close_path(cr);
  ShadedInked(cr, Hex(0xE07A48), 520, 340, 60, 3);
  RoundedRect(cr, 462, 290, 116, 20, 6);
  ShadedInked(cr, Hex(0xE88A58), 520, 300, 60, 3);
  for (int i = 0; i < 5; ++i) {  // leaves
    const double x = 480 + i * 20;
    cairo_move_to(cr, 520, 292);
    cairo_curve_to(cr, x - 10, 250, x, 220 + (i % 2) * 20, x + 4, 200 + (i % 2) * 20);
    cairo_curve_to(cr, x + 12, 230, x + 4, 270, 520, 292);
  }
  ShadedInked(cr, Hex(0x5CB848), 520, 240, 60, 2.5);
  DrawDaisy(cr, 505, 196, 14);
  DrawDaisy(cr, 548, 214, 12);
  DrawCupFromAbove(cr, 140, 410, 30);
  DrawCrumbs(cr, 300, 420, 60, 13);
  DrawCalmStrip(cr, 0, 42, 0.2);
}
