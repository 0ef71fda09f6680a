// Stage background 3: a picnic meadow seen from above, with a blue blanket and daisies.
#include <cmath>

#include "assets/art/art.h"
#include "assets/art/backdrop_props.h"
#include "tools/art/cartoon.h"

void DrawMeadowBackdrop(cairo_t* cr) {
  cairo_rectangle(cr, 0, 0, 640, 480);
  FillVertical(cr, Hex(0xA8E07A), Hex(0x86CC5C), 0, 480);
  cairo_new_path(cr);
  unsigned state = 42;
  auto next = [&state]() {
    state = state * 1103515245u + 12345u;
    return static_cast<double>((state >> 16) & 0x7FFF) / 32767.0;
  };
  for (int i = 0; i < 420; ++i) {  // grass tufts
    const double x = next() * 640;
    const double y = 40 + next() * 440;
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x - 3 + next() * 6, y - 6 - next() * 5);
  }
  SetColor(cr, Hex(0x5EA83E), 0.7);
  cairo_set_line_width(cr, 1.6);
  cairo_stroke(cr);
  // Picnic blanket in the lower left, turned a little.
  cairo_save(cr);
  cairo_translate(cr, 40, 300);
  cairo_rotate(cr, -0.12);
  RoundedRect(cr, 0, 0, 260, 200, 8);
  SetColor(cr, Hex(0xEAF2FF));
  cairo_fill_preserve(cr);
  PaintInside(cr, [cr] {
    for (int i = 0; i < 9; i += 2) {
      cairo_rectangle(cr, i * 30, 0, 30, 200);
      cairo_rectangle(cr, 0, i * 30, 260, 30);
    }
    SetColor(cr, Hex(0x5A8EE0), 0.45);
    cairo_fill(cr);
  });
  Ink(cr, 3);
  cairo_restore(cr);
  DrawPlateWithCake(cr, 150, 390, 0.75);
  const double daisies[][3] = {{420, 120, 10}, {560, 200, 12}, {480, 330, 9}, {600, 420, 11}, {90, 110, 9},
                               {300, 200, 8}, {380, 440, 10}, {240, 80, 8}};
  for (const auto& d : daisies) DrawDaisy(cr, d[0], d[1], d[2]);
  DrawCalmStrip(cr, 0, 42, 0.18);
}
