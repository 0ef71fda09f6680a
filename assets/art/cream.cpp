// A dollop of whipped cream with a cherry: the bait, and the cream icon of the score line.
#include "assets/art/art.h"
#include "tools/art/cartoon.h"

void DrawCream(cairo_t* cr) {
  constexpr Color kCream = Hex(0xFFF6DC);
  // Three stacked swirls, widest at the bottom.
  const double tiers[][4] = {{16, 24, 13, 5.5}, {16, 18.5, 10, 5}, {15.5, 13.5, 7, 4.3}};
  for (const auto& t : tiers) {
    Ellipse(cr, t[0], t[1], t[2], t[3]);
    ShadedInked(cr, kCream, t[0], t[1], t[2], 1.4);
  }
  cairo_move_to(cr, 15, 9);  // the tip
  cairo_curve_to(cr, 14, 6, 17, 5, 19, 6.5);
  cairo_curve_to(cr, 18, 8, 17.5, 9.5, 15, 9.5);
  SetColor(cr, kCream);
  cairo_fill_preserve(cr);
  Ink(cr, 1.2);
  Ellipse(cr, 22.5, 9, 4, 4);  // cherry
  ShadedInked(cr, Hex(0xE02840), 22.5, 9, 4.5, 1.2);
  Gloss(cr, 21.3, 7.6, 1.2, 1, 0.9);
  cairo_move_to(cr, 23, 5);
  cairo_curve_to(cr, 24, 2.5, 26, 1.8, 28, 1.5);
  SetColor(cr, Hex(0x3E8E2E));
  cairo_set_line_width(cr, 1.3);
  cairo_stroke(cr);
}
