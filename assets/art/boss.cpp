// The Fly King, drawn at (100, 0) of the screen: his body sits over the swat zone around
// picture (175..295, 120..255), and his open hands at (60, 106) and (324, 110) are where
// the flies he releases appear.
#include <cmath>

#include <initializer_list>

#include "assets/art/art.h"
#include "tools/art/cartoon.h"

namespace {

constexpr Color kBody = Hex(0x4A5470);
constexpr Color kEye = Hex(0xE8382C);
constexpr Color kWing = Hex(0xD4EAFA);
constexpr Color kGold = Hex(0xFFC83A);
constexpr double kCenterX = 235;

void Wings(cairo_t* cr, int phase) {
  static constexpr double kLift[] = {0.0, 0.35, -0.25};
  for (double side : {-1.0, 1.0}) {
    cairo_save(cr);
    cairo_translate(cr, kCenterX + side * 30, 190);
    cairo_rotate(cr, side * (0.75 + kLift[phase]));
    Ellipse(cr, 0, -95, 52, 100);
    cairo_restore(cr);
    SetColor(cr, kWing, 0.92);
    cairo_fill_preserve(cr);
    Ink(cr, 4);
    cairo_save(cr);
    cairo_translate(cr, kCenterX + side * 30, 190);
    cairo_rotate(cr, side * (0.75 + kLift[phase]));
    for (double vein : {-20.0, 0.0, 20.0}) {
      cairo_move_to(cr, 0, -12);
      cairo_curve_to(cr, vein * 0.5, -70, vein, -120, vein * 0.8, -180);
    }
    cairo_restore(cr);
    SetColor(cr, Hex(0x93B2CC));
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
  }
}

void Legs(cairo_t* cr) {
  for (double side : {-1.0, 1.0}) {
    for (int i = 0; i < 2; ++i) {
      const double x0 = kCenterX + side * (40 + i * 14);
      const double y0 = 300 + i * 26;
      cairo_move_to(cr, x0, y0);
      cairo_curve_to(cr, x0 + side * 50, y0 + 10, x0 + side * 60, y0 + 60, x0 + side * (40 + i * 30), 420 - i * 6);
      SetColor(cr, kInk);
      cairo_set_line_width(cr, 13);
      cairo_stroke_preserve(cr);
      SetColor(cr, Lighter(kBody, 0.15));
      cairo_set_line_width(cr, 6);
      cairo_stroke(cr);
      Ellipse(cr, x0 + side * (40 + i * 30), 424 - i * 6, 14, 7);
      ShadedInked(cr, kBody, x0 + side * (40 + i * 30), 424 - i * 6, 14, 3);
    }
  }
}

void Arm(cairo_t* cr, double side, double handX, double handY) {
  const double sx = kCenterX + side * 62;
  cairo_move_to(cr, sx, 215);
  cairo_curve_to(cr, sx + side * 60, 240, handX - side * 10, 220, handX, handY + 18);
  SetColor(cr, kInk);
  cairo_set_line_width(cr, 16);
  cairo_stroke_preserve(cr);
  SetColor(cr, Lighter(kBody, 0.15));
  cairo_set_line_width(cr, 8);
  cairo_stroke(cr);
  // An open palm held up, fingers curled round the place a fly springs from.
  Ellipse(cr, handX, handY + 20, 27, 13);
  ShadedInked(cr, Hex(0xB89CC8), handX, handY + 16, 27, 3.5);
  for (int f = -2; f <= 2; ++f) {
    Ellipse(cr, handX + f * 10.5, handY + 8 - std::abs(f) * 1.5, 5.5, 8);
    ShadedInked(cr, Hex(0xB89CC8), handX + f * 10.5, handY + 6, 8, 3);
  }
  Ellipse(cr, handX, handY + 20, 15, 6);  // glowing spot where the flies appear
  SetColor(cr, Hex(0xFFF2A0), 0.9);
  cairo_fill(cr);
}

void Body(cairo_t* cr) {
  Ellipse(cr, kCenterX, 258, 84, 92);
  FillShaded(cr, kBody, kCenterX, 258, 92);
  PaintInside(cr, [cr] {
    for (int i = 0; i < 4; ++i) {
      const double y = 232 + i * 30;
      cairo_move_to(cr, kCenterX - 90, y);
      cairo_curve_to(cr, kCenterX - 30, y + 16, kCenterX + 30, y + 16, kCenterX + 90, y);
    }
    SetColor(cr, Hex(0x7484A6));
    cairo_set_line_width(cr, 7);
    cairo_stroke(cr);
  });
  Ink(cr, 5);
  Ellipse(cr, kCenterX, 270, 40, 50);  // belly
  SetColor(cr, Hex(0x8D9AB8), 0.8);
  cairo_fill(cr);
}

void Crown(cairo_t* cr, bool hurt) {
  cairo_save(cr);
  if (hurt) {
    cairo_translate(cr, kCenterX + 40, 66);
    cairo_rotate(cr, 0.3);
    cairo_translate(cr, -kCenterX - 40, -66);
  }
  // Low enough to leave the score line at the top of the screen readable.
  cairo_move_to(cr, kCenterX - 44, 70);
  cairo_line_to(cr, kCenterX - 50, 40);
  cairo_line_to(cr, kCenterX - 24, 54);
  cairo_line_to(cr, kCenterX, 34);
  cairo_line_to(cr, kCenterX + 24, 54);
  cairo_line_to(cr, kCenterX + 50, 40);
  cairo_line_to(cr, kCenterX + 44, 70);
  cairo_close_path(cr);
  ShadedInked(cr, kGold, kCenterX, 52, 50, 4);
  for (double x : {-24.0, 0.0, 24.0}) {
    Ellipse(cr, kCenterX + x, 62, 5, 5);
    ShadedInked(cr, x == 0 ? Hex(0x3AC0F0) : Hex(0xF03A6A), kCenterX + x, 62, 6, 2);
  }
  cairo_restore(cr);
}

void Eye(cairo_t* cr, double cx, bool hurt) {
  if (hurt) {  // squeezed shut
    Ellipse(cr, cx, 113, 28, 30);
    SetColor(cr, Hex(0xF09090));
    cairo_fill_preserve(cr);
    Ink(cr, 4);
    const double inward = cx < kCenterX ? 1 : -1;
    cairo_move_to(cr, cx - 16 * inward, 100);
    cairo_line_to(cr, cx + 12 * inward, 113);
    cairo_line_to(cr, cx - 16 * inward, 126);
    Ink(cr, 6);
    return;
  }
  Ellipse(cr, cx, 112, 30, 36);
  ShadedInked(cr, kEye, cx, 112, 36, 4);
  cairo_save(cr);  // facets
  Ellipse(cr, cx, 112, 28, 34);
  cairo_clip(cr);
  for (int i = -4; i <= 4; ++i) {
    cairo_move_to(cr, cx + i * 8, 70);
    cairo_line_to(cr, cx + i * 8 + 10, 150);
    cairo_move_to(cr, cx - 40, 112 + i * 8);
    cairo_line_to(cr, cx + 40, 104 + i * 8);
  }
  SetColor(cr, Darker(kEye, 0.3), 0.45);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  cairo_restore(cr);
  Ellipse(cr, cx + (cx < kCenterX ? 8 : -8), 118, 9, 11);  // pupil looking at the player
  SetColor(cr, kInk);
  cairo_fill(cr);
  Gloss(cr, cx - 10, 96, 8, 6, 0.85);
}

void Head(cairo_t* cr, int phase, bool hurt) {
  for (double side : {-1.0, 1.0}) {  // feelers
    cairo_move_to(cr, kCenterX + side * 14, 70);
    cairo_curve_to(cr, kCenterX + side * 30, 40, kCenterX + side * 60, 30 + phase * 4, kCenterX + side * 76, 44 + phase * 4);
    Ink(cr, 5);
    Ellipse(cr, kCenterX + side * 77, 45 + phase * 4, 7, 7);
    ShadedInked(cr, kBody, kCenterX + side * 77, 45 + phase * 4, 7, 3);
  }
  Ellipse(cr, kCenterX, 120, 74, 62);
  ShadedInked(cr, hurt ? Mix(kBody, Hex(0xD04040), 0.35) : kBody, kCenterX, 120, 74, 5);
  Eye(cr, kCenterX - 34, hurt);
  Eye(cr, kCenterX + 34, hurt);
  if (hurt) {  // wide open "ow"
    Ellipse(cr, kCenterX, 160, 16, 14);
    SetColor(cr, Hex(0x5A1420));
    cairo_fill_preserve(cr);
    Ink(cr, 4);
    Ellipse(cr, kCenterX, 166, 9, 5);
    SetColor(cr, Hex(0xF06A80));
    cairo_fill(cr);
  } else {  // a smug grin with one tooth
    cairo_move_to(cr, kCenterX - 26, 152);
    cairo_curve_to(cr, kCenterX - 10, 168, kCenterX + 10, 168, kCenterX + 26, 152);
    Ink(cr, 5);
    cairo_rectangle(cr, kCenterX + 2, 158, 9, 8);
    SetColor(cr, kWhite);
    cairo_fill_preserve(cr);
    Ink(cr, 2.5);
  }
  Crown(cr, hurt);
}

void HurtStars(cairo_t* cr) {
  const double stars[][2] = {{130, 60}, {340, 52}, {118, 150}, {352, 170}};
  for (const auto& s : stars) {
    StarBurst(cr, s[0], s[1], 8, 20, 5, -1.5708);
    ShadedInked(cr, Hex(0xFFE23A), s[0], s[1], 20, 3);
  }
  for (double side : {-1.0, 1.0}) {  // tears
    const double x = kCenterX + side * 58;
    cairo_move_to(cr, x, 128);
    cairo_curve_to(cr, x + side * 10, 146, x + side * 8, 160, x, 160);
    cairo_curve_to(cr, x - side * 8, 160, x - side * 8, 146, x, 128);
    SetColor(cr, Hex(0x8AD4FF));
    cairo_fill_preserve(cr);
    Ink(cr, 2.5);
  }
}

}  // namespace

void DrawBoss(cairo_t* cr, int wingPhase, bool hurt) {
  Wings(cr, wingPhase);
  Legs(cr);
  Body(cr);
  Arm(cr, -1, 76, 112);
  Arm(cr, 1, 340, 116);
  Head(cr, wingPhase, hurt);
  if (hurt) HurtStars(cr);
}
