// Stage background 1: a soft red gingham tablecloth with a slice of cake and a cup of coffee.
#include "assets/art/art.h"
#include "assets/art/backdrop_props.h"
#include "tools/art/cartoon.h"

void DrawTableclothBackdrop(cairo_t* cr) {
  constexpr double kCheck = 40;
  SetColor(cr, Hex(0xFBF4EA));
  cairo_paint(cr);
  for (int i = 0; i < 16; i += 2) {
    cairo_rectangle(cr, i * kCheck, 0, kCheck, 480);
    cairo_rectangle(cr, 0, i * kCheck, 640, kCheck);
  }
  SetColor(cr, Hex(0xE07A70), 0.45);
  cairo_fill(cr);
  for (int i = 0; i < 16; i += 2) {  // where the bands cross they overlap darker
    for (int j = 0; j < 12; j += 2) cairo_rectangle(cr, i * kCheck, j * kCheck, kCheck, kCheck);
  }
  SetColor(cr, Hex(0xD05A52), 0.3);
  cairo_fill(cr);
  for (int i = 0; i < 64; ++i) {  // woven texture
    cairo_move_to(cr, 0, i * 7.5 + 2);
    cairo_line_to(cr, 640, i * 7.5 + 2);
  }
  SetColor(cr, kWhite, 0.12);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  DrawCalmStrip(cr, 0, 42, 0.22);
  DrawPlateWithCake(cr, 470, 300, 1.1);
  DrawCupFromAbove(cr, 150, 150, 36);
  DrawCrumbs(cr, 380, 340, 70, 7);
  DrawCrumbs(cr, 260, 230, 50, 11);
}
