// The boss beaten: a trophy card laid centred on the background. Its banner ends above screen
// y 100 and its middle stays a calm dark blue, because the game writes the three result lines
// at y 100..230 and the OK button at y 350..410.
#include <cmath>
#include <numbers>

#include <initializer_list>

#include "assets/art/art.h"
#include "tools/art/cartoon.h"

namespace {

void Trophy(cairo_t* cr, double cx, double top) {
  constexpr Color kGold = Hex(0xFFC83A);
  for (double side : {-1.0, 1.0}) {  // handles
    Ellipse(cr, cx + side * 48, top + 34, 20, 22);
    SetColor(cr, kInk);
    cairo_set_line_width(cr, 14);
    cairo_stroke_preserve(cr);
    SetColor(cr, kGold);
    cairo_set_line_width(cr, 7);
    cairo_stroke(cr);
  }
  cairo_move_to(cr, cx - 52, top);
  cairo_line_to(cr, cx + 52, top);
  cairo_curve_to(cr, cx + 52, top + 60, cx + 30, top + 84, cx + 10, top + 90);
  cairo_line_to(cr, cx + 10, top + 110);
  cairo_line_to(cr, cx - 10, top + 110);
  cairo_line_to(cr, cx - 10, top + 90);
  cairo_curve_to(cr, cx - 30, top + 84, cx - 52, top + 60, cx - 52, top);
  cairo_close_path(cr);
  ShadedInked(cr, kGold, cx, top + 40, 60, 4);
  RoundedRect(cr, cx - 40, top + 108, 80, 22, 6);
  ShadedInked(cr, Hex(0x8A5A32), cx, top + 118, 40, 4);
  Gloss(cr, cx - 24, top + 26, 8, 18, 0.55);
  StarBurst(cr, cx, top + 40, 8, 18, 5, -1.5708);
  ShadedInked(cr, Hex(0xFFF2A0), cx, top + 40, 18, 2.5);
}

}  // namespace

void DrawWinBadge(cairo_t* cr, int width, int height) {
  const double cx = width / 2.0;
  RoundedRect(cr, 4, 30, width - 8, height - 34, 36);
  FillVertical(cr, Hex(0x2C3C8C), Hex(0x1E285E), 30, height);
  Ink(cr, 5);
  cairo_save(cr);  // soft rays behind the trophy
  RoundedRect(cr, 8, 34, width - 16, height - 42, 32);
  cairo_clip(cr);
  for (int i = 0; i < 16; ++i) {
    const double a = i * std::numbers::pi / 8;
    cairo_move_to(cr, cx, 320);
    cairo_line_to(cr, cx + 400 * std::cos(a), 320 + 400 * std::sin(a));
    cairo_line_to(cr, cx + 400 * std::cos(a + 0.18), 320 + 400 * std::sin(a + 0.18));
    cairo_close_path(cr);
  }
  SetColor(cr, Hex(0x3C54B4), 0.45);
  cairo_fill(cr);
  cairo_restore(cr);
  RoundedRect(cr, 90, 2, width - 180, 52, 24);  // banner
  FillVertical(cr, Hex(0xFF6A4A), Hex(0xD02E2E), 2, 54);
  Ink(cr, 4);
  Lettering(cr, "Victory!", cx, 27, 40, LetterStyle{Hex(0xFFFFFF), Hex(0xFFE27A), kInk, 5, 3});
  cairo_save(cr);
  cairo_translate(cr, cx, 200);
  cairo_scale(cr, 0.8, 0.8);
  Trophy(cr, 0, 0);
  cairo_restore(cr);
  Lettering(cr, "Fly King defeated", cx, 385, 22, LetterStyle{Hex(0xFFF27A), Hex(0xFFC43A), kInk, 4, 2});
}
