#include "assets/art/backdrop_props.h"

#include <cmath>
#include <numbers>

#include "tools/art/cartoon.h"

void DrawPlateWithCake(cairo_t* cr, double cx, double cy, double scale) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, scale, scale);
  Ellipse(cr, 4, 6, 64, 60);  // shadow
  SetColor(cr, Hex(0x000000), 0.12);
  cairo_fill(cr);
  Ellipse(cr, 0, 0, 64, 60);
  ShadedInked(cr, Hex(0xF8F8FF), 0, 0, 64, 3);
  Ellipse(cr, 0, 0, 46, 42);
  SetColor(cr, Hex(0xDCE4F0));
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  cairo_move_to(cr, -30, 18);  // a wedge of cake
  cairo_line_to(cr, 30, 18);
  cairo_line_to(cr, 0, -34);
  cairo_close_path(cr);
  ShadedInked(cr, Hex(0xF5D08A), 0, 0, 40, 3);
  cairo_move_to(cr, -18, -2);
  cairo_line_to(cr, 18, -2);
  SetColor(cr, Hex(0xE8506A));
  cairo_set_line_width(cr, 5);
  cairo_stroke(cr);
  Ellipse(cr, 0, -12, 8, 8);
  ShadedInked(cr, Hex(0xE02840), 0, -12, 9, 2);
  cairo_restore(cr);
}

void DrawCupFromAbove(cairo_t* cr, double cx, double cy, double radius) {
  cairo_move_to(cr, cx + radius * 0.9, cy);
  cairo_line_to(cr, cx + radius * 1.45, cy);
  Ink(cr, radius * 0.42);
  cairo_move_to(cr, cx + radius * 0.9, cy);
  cairo_line_to(cr, cx + radius * 1.45, cy);
  SetColor(cr, Hex(0xF06A5A));
  cairo_set_line_width(cr, radius * 0.26);
  cairo_stroke(cr);
  Ellipse(cr, cx, cy, radius, radius);
  ShadedInked(cr, Hex(0xF06A5A), cx, cy, radius, 3);
  Ellipse(cr, cx, cy, radius * 0.78, radius * 0.78);
  FillShaded(cr, Hex(0x9A6038), cx + radius * 0.3, cy + radius * 0.3, radius);
  Ink(cr, 2);
  Gloss(cr, cx - radius * 0.3, cy - radius * 0.3, radius * 0.22, radius * 0.12, 0.6);
}

void DrawDaisy(cairo_t* cr, double cx, double cy, double radius) {
  for (int i = 0; i < 8; ++i) {
    const double a = i * std::numbers::pi / 4;
    Ellipse(cr, cx + std::cos(a) * radius * 0.6, cy + std::sin(a) * radius * 0.6, radius * 0.42, radius * 0.42);
  }
  SetColor(cr, Hex(0xFFFFFF));
  cairo_fill_preserve(cr);
  Ink(cr, 1.5);
  Ellipse(cr, cx, cy, radius * 0.38, radius * 0.38);
  ShadedInked(cr, Hex(0xFFC820), cx, cy, radius * 0.4, 1.5);
}

void DrawCrumbs(cairo_t* cr, double cx, double cy, double spread, unsigned seed) {
  unsigned state = seed;
  auto next = [&state]() {
    state = state * 1103515245u + 12345u;
    return static_cast<double>((state >> 16) & 0x7FFF) / 32767.0;
  };
  for (int i = 0; i < 9; ++i) {
    const double x = cx + (next() - 0.5) * spread;
    const double y = cy + (next() - 0.5) * spread;
    const double r = 1.5 + next() * 2.5;
    Ellipse(cr, x, y, r, r * 0.8);
    ShadedInked(cr, Hex(0xE8B060), x, y, r, 1);
  }
}

void DrawCalmStrip(cairo_t* cr, double top, double height, double alpha) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, top, 0, top + height);
  cairo_pattern_add_color_stop_rgba(p, 0, kInk.r, kInk.g, kInk.b, alpha);
  cairo_pattern_add_color_stop_rgba(p, 0.75, kInk.r, kInk.g, kInk.b, alpha);
  cairo_pattern_add_color_stop_rgba(p, 1, kInk.r, kInk.g, kInk.b, 0);
  cairo_rectangle(cr, 0, top, 640, height);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}
