// The house fly, seen from above, head to the top-left: the title screen points with its head.
#include <cmath>
#include <numbers>

#include <initializer_list>

#include "assets/art/art.h"
#include "tools/art/cartoon.h"

namespace {

constexpr Color kBody = Hex(0x3A4256);
constexpr Color kEye = Hex(0xE03A2E);
constexpr Color kWing = Hex(0xAFC4D8);

// Body axis along y, head up (negative y); the caller turns it to the top-left.
void FaceTopLeft(cairo_t* cr) {
  cairo_translate(cr, 17.5, 17.5);
  cairo_rotate(cr, -std::numbers::pi / 4);
}

void Wing(cairo_t* cr, double side, double spread) {
  cairo_save(cr);
  cairo_translate(cr, 1.5 * side, -4);
  cairo_rotate(cr, side * spread);
  Ellipse(cr, 0, 7.5, 3.6, 7.8);
  SetColor(cr, kWing);
  cairo_fill_preserve(cr);
  Ink(cr, 1.2);
  cairo_move_to(cr, 0, 2);
  cairo_line_to(cr, 0, 13);
  SetColor(cr, Hex(0x9DB6CC));
  cairo_set_line_width(cr, 0.9);
  cairo_stroke(cr);
  cairo_restore(cr);
}

void Legs(cairo_t* cr, double splay) {
  for (double side : {-1.0, 1.0}) {
    for (int i = 0; i < 3; ++i) {
      const double y = -6 + i * 3.2;
      cairo_move_to(cr, 2 * side, y);
      cairo_line_to(cr, (7 + splay) * side, y - 3 + i * 3.5);
      cairo_line_to(cr, (9 + splay) * side, y - 1 + i * 5);
    }
  }
  SetColor(cr, kInk);
  cairo_set_line_width(cr, 1.3);
  cairo_stroke(cr);
}

void Body(cairo_t* cr) {
  Ellipse(cr, 0, 6.5, 5.6, 8.2);  // abdomen
  ShadedInked(cr, kBody, 0, 6.5, 8, 1.4);
  for (int i = 0; i < 2; ++i) {
    cairo_move_to(cr, -4.2, 5 + i * 3.6);
    cairo_curve_to(cr, -1.5, 6.4 + i * 3.6, 1.5, 6.4 + i * 3.6, 4.2, 5 + i * 3.6);
  }
  SetColor(cr, Hex(0x5D6A86));
  cairo_set_line_width(cr, 1.1);
  cairo_stroke(cr);
  Ellipse(cr, 0, -4.2, 4.6, 4.2);  // thorax
  ShadedInked(cr, Lighter(kBody, 0.1), 0, -4.2, 5, 1.4);
}

void Head(cairo_t* cr, bool dead) {
  Ellipse(cr, 0, -10.5, 4.4, 3.6);
  ShadedInked(cr, kBody, 0, -10.5, 4.5, 1.3);
  for (double side : {-1.0, 1.0}) {
    Ellipse(cr, 3.2 * side, -11.6, 2.9, 3.1);
    if (dead) {
      SetColor(cr, Hex(0xC9B9C0));
      cairo_fill_preserve(cr);
      Ink(cr, 1.0);
      cairo_move_to(cr, 3.2 * side - 1.5, -13.1);
      cairo_line_to(cr, 3.2 * side + 1.5, -10.1);
      cairo_move_to(cr, 3.2 * side + 1.5, -13.1);
      cairo_line_to(cr, 3.2 * side - 1.5, -10.1);
      Ink(cr, 1.0);
    } else {
      ShadedInked(cr, kEye, 3.2 * side, -11.6, 3.2, 1.0);
      Gloss(cr, 3.2 * side - 0.9, -12.8, 0.9, 0.8, 0.9);
    }
  }
}

}  // namespace

void DrawFly(cairo_t* cr, int wingPhase) {
  static constexpr double kSpread[] = {0.55, 1.0, 0.3};
  cairo_save(cr);
  FaceTopLeft(cr);
  Legs(cr, 0);
  Body(cr);
  Wing(cr, -1, kSpread[wingPhase]);
  Wing(cr, 1, kSpread[wingPhase]);
  Head(cr, false);
  cairo_restore(cr);
}

void DrawDeadFly(cairo_t* cr) {
  cairo_save(cr);
  // A squashed smear under the body.
  StarBurst(cr, 16, 16, 8, 13, 9, 0.3);
  SetColor(cr, Hex(0x8A9A3A));
  cairo_fill(cr);
  FaceTopLeft(cr);
  cairo_scale(cr, 1.15, 0.9);
  Legs(cr, 3);
  for (double side : {-1.0, 1.0}) {
    cairo_save(cr);
    cairo_translate(cr, 1.5 * side, -3);
    cairo_rotate(cr, side * 1.6);
    Ellipse(cr, 0, 7, 3.6, 7.5);
    SetColor(cr, Hex(0xBFD0DC));
    cairo_fill_preserve(cr);
    Ink(cr, 1.0);
    cairo_restore(cr);
  }
  Body(cr);
  Head(cr, true);
  cairo_restore(cr);
}
