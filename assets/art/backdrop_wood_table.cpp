// Stage background 2 (also the boss stage): light oak planks with a coffee ring and crumbs.
#include <cmath>

#include "assets/art/art.h"
#include "assets/art/backdrop_props.h"
#include "tools/art/cartoon.h"

void DrawWoodTableBackdrop(cairo_t* cr) {
  constexpr double kPlank = 96;
  for (int i = 0; i < 5; ++i) {
    const double y = i * kPlank;
    cairo_rectangle(cr, 0, y, 640, kPlank);
    const Color tone = (i % 2 == 0) ? Hex(0xE2B27A) : Hex(0xD8A66C);
    FillVertical(cr, Lighter(tone, 0.12), tone, y, y + kPlank);
    cairo_new_path(cr);
    for (int g = 0; g < 7; ++g) {  // grain
      const double gy = y + 10 + g * 12.5;
      cairo_move_to(cr, 0, gy);
      for (int x = 0; x <= 640; x += 40) {
        cairo_line_to(cr, x, gy + 3 * std::sin(x * 0.013 + g * 1.7 + i * 2.1));
      }
    }
    SetColor(cr, Hex(0xA87040), 0.28);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    cairo_move_to(cr, 0, y + kPlank - 1);  // seam
    cairo_line_to(cr, 640, y + kPlank - 1);
    SetColor(cr, Hex(0x8A5428), 0.55);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
  }
  const double knots[][2] = {{120, 250}, {520, 120}, {330, 410}};
  for (const auto& k : knots) {
    Ellipse(cr, k[0], k[1], 16, 7);
    SetColor(cr, Hex(0xA06A38), 0.6);
    cairo_fill_preserve(cr);
    SetColor(cr, Hex(0x8A5428), 0.6);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
  }
  DrawCalmStrip(cr, 0, 42, 0.2);
  Ellipse(cr, 520, 330, 44, 44);  // coffee ring
  SetColor(cr, Hex(0x8A5428), 0.35);
  cairo_set_line_width(cr, 5);
  cairo_stroke(cr);
  DrawCrumbs(cr, 200, 120, 80, 3);
  DrawCrumbs(cr, 560, 420, 60, 5);
}
