// The swatter cursor, 64 x 167: a mesh head over rows 0..76 (where it hits and takes the
// blood), then the neck and handle. The swinging picture tilts the head and adds whoosh lines.
#include <initializer_list>

#include "assets/art/art.h"
#include "tools/art/cartoon.h"

namespace {

constexpr Color kMesh = Hex(0x2E9BEA);
constexpr Color kHandle = Hex(0xFFC832);

void Handle(cairo_t* cr, double bend) {
  cairo_move_to(cr, 25, 74);  // neck
  cairo_line_to(cr, 39, 74);
  cairo_curve_to(cr, 37, 84, 36 + bend, 92, 36 + bend, 100);
  cairo_line_to(cr, 28 + bend, 100);
  cairo_curve_to(cr, 28 + bend, 92, 27, 84, 25, 74);
  cairo_close_path(cr);
  ShadedInked(cr, Darker(kMesh, 0.15), 32, 84, 14, 1.6);
  RoundedRect(cr, 26 + bend, 98, 12, 67, 6);  // grip
  cairo_pattern_t* p = cairo_pattern_create_linear(26 + bend, 0, 38 + bend, 0);
  const Color light = Lighter(kHandle, 0.5);
  const Color dark = Darker(kHandle, 0.3);
  cairo_pattern_add_color_stop_rgb(p, 0, dark.r, dark.g, dark.b);
  cairo_pattern_add_color_stop_rgb(p, 0.35, light.r, light.g, light.b);
  cairo_pattern_add_color_stop_rgb(p, 1, kHandle.r, kHandle.g, kHandle.b);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  Ink(cr, 1.6);
  for (int i = 0; i < 5; ++i) {  // grip ridges
    cairo_move_to(cr, 28 + bend, 110 + i * 8);
    cairo_line_to(cr, 36 + bend, 110 + i * 8);
  }
  SetColor(cr, Darker(kHandle, 0.35));
  cairo_set_line_width(cr, 1.4);
  cairo_stroke(cr);
  Ellipse(cr, 32 + bend, 157, 2.2, 2.2);  // hanging hole
  SetColor(cr, Darker(kHandle, 0.55));
  cairo_fill(cr);
}

void Head(cairo_t* cr, bool swinging) {
  const Color mesh = swinging ? Darker(kMesh, 0.12) : kMesh;
  RoundedRect(cr, 1, 1, 62, 75, 12);
  ShadedInked(cr, mesh, 32, 38, 48, 2.0);
  RoundedRect(cr, 5, 5, 54, 67, 9);  // inner rim
  SetColor(cr, Lighter(mesh, 0.35));
  cairo_set_line_width(cr, 1.6);
  cairo_stroke(cr);
  // Breathing holes: small, so the head stays solid enough to carry the splats.
  const double slant = swinging ? 1.2 : 0;
  for (int row = 0; row < 7; ++row) {
    for (int col = 0; col < 5; ++col) {
      const double x = 13 + col * 9.5 + slant * (row - 3);
      const double y = 12 + row * 9;
      RoundedRect(cr, x - 2, y - 2, 4, 4, 1.2);
    }
  }
  SetColor(cr, Darker(mesh, 0.45));
  cairo_fill(cr);
  Gloss(cr, 16, 12, 9, 4, swinging ? 0.25 : 0.45);
}

void Whoosh(cairo_t* cr) {
  for (double side : {-1.0, 1.0}) {
    for (int i = 0; i < 3; ++i) {
      const double x = 32 + side * (16 + i * 6);
      cairo_move_to(cr, x, 84 + i * 10);
      cairo_curve_to(cr, x + side * 2, 96 + i * 10, x + side * 2, 108 + i * 10, x, 118 + i * 10);
    }
  }
  SetColor(cr, kWhite);
  cairo_set_line_width(cr, 2.2);
  cairo_stroke(cr);
}

}  // namespace

void DrawSwatter(cairo_t* cr, bool swinging) {
  Handle(cr, swinging ? 3 : 0);
  Head(cr, swinging);
  if (swinging) Whoosh(cr);
}
