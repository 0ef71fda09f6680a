// The wasp crosses the screen from right to left, so it faces left.
#include <numbers>

#include <initializer_list>

#include "assets/art/art.h"
#include "tools/art/cartoon.h"

namespace {

constexpr Color kYellow = Hex(0xF7C81E);
constexpr Color kStripe = Hex(0x2A2430);

void Abdomen(cairo_t* cr) {
  Ellipse(cr, 20, 17, 9, 6.5);
  FillShaded(cr, kYellow, 20, 17, 9);
  PaintInside(cr, [cr] {
    for (double x : {16.5, 21.5, 26.5}) cairo_rectangle(cr, x, 8, 2.6, 18);
    SetColor(cr, kStripe);
    cairo_fill(cr);
  });
  Ink(cr, 1.3);
  cairo_move_to(cr, 28.5, 17);  // sting
  cairo_line_to(cr, 31, 17.5);
  Ink(cr, 1.4);
}

void Wing(cairo_t* cr, double tilt) {
  cairo_save(cr);
  cairo_translate(cr, 15, 12);
  cairo_rotate(cr, tilt);
  Ellipse(cr, 5, -3, 7.5, 3.0);
  SetColor(cr, Hex(0xE4F2FF));
  cairo_fill_preserve(cr);
  Ink(cr, 1.1);
  cairo_restore(cr);
}

void FrontHalf(cairo_t* cr, bool dead) {
  Ellipse(cr, 11.5, 17, 4.5, 4);  // thorax
  ShadedInked(cr, Hex(0x5A4632), 11.5, 17, 5, 1.2);
  Ellipse(cr, 5.5, 16.5, 4, 4);  // head
  ShadedInked(cr, kYellow, 5.5, 16.5, 4.5, 1.2);
  Ellipse(cr, 4.5, 15.5, 2, 2.3);
  SetColor(cr, dead ? Hex(0xB8A8B0) : kStripe);
  cairo_fill(cr);
  if (dead) {
    cairo_move_to(cr, 3.4, 14.2);
    cairo_line_to(cr, 5.6, 16.8);
    cairo_move_to(cr, 5.6, 14.2);
    cairo_line_to(cr, 3.4, 16.8);
    Ink(cr, 0.9);
  } else {
    Gloss(cr, 4, 14.8, 0.7, 0.7, 0.9);
  }
  cairo_move_to(cr, 4, 13);  // feelers
  cairo_curve_to(cr, 2, 9, 0.5, 9, 0.8, 8);
  cairo_move_to(cr, 6, 13);
  cairo_curve_to(cr, 5, 9, 4, 8, 3.5, 7);
  Ink(cr, 1.0);
}

void Legs(cairo_t* cr, double splay) {
  for (int i = 0; i < 3; ++i) {
    cairo_move_to(cr, 9.5 + i * 2.5, 20);
    cairo_line_to(cr, 8 + i * 3.5 - splay, 24 + splay);
    cairo_line_to(cr, 9 + i * 4 - splay, 26.5 + splay);
  }
  Ink(cr, 1.1);
}

}  // namespace

void DrawWasp(cairo_t* cr) {
  Wing(cr, -0.35);
  Legs(cr, 0);
  Abdomen(cr);
  FrontHalf(cr, false);
  Wing(cr, 0.25);
}

void DrawDeadWasp(cairo_t* cr) {
  StarBurst(cr, 16, 17, 8, 13, 8, 0.2);
  SetColor(cr, Hex(0xC8B44A));
  cairo_fill(cr);
  cairo_save(cr);
  cairo_translate(cr, 16, 17);
  cairo_rotate(cr, 0.5);
  cairo_scale(cr, 1.0, 0.8);
  cairo_translate(cr, -16, -17);
  Legs(cr, 3);
  Abdomen(cr);
  FrontHalf(cr, true);
  cairo_restore(cr);
}
