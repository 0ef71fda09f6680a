// What a swat scored: a grey puff for a miss, bursts that grow louder with every extra target,
// and the wasp bonus.
#include <cmath>

#include "assets/art/art.h"
#include "tools/art/cartoon.h"

namespace {

struct BurstLook {
  const char* words;
  Color burst;
  Color letterTop;
  Color letterBottom;
  int spikes;
};

const BurstLook kLooks[] = {
    {"Hit!", Hex(0x7DDB4A), Hex(0xFFFFFF), Hex(0xE8FFD0), 12},
    {"Double!", Hex(0x3CCFD0), Hex(0xFFFFFF), Hex(0xD6FFFF), 13},
    {"Triple!", Hex(0x4A8CF0), Hex(0xFFF8B0), Hex(0xFFD84A), 14},
    {"Quad Swat!", Hex(0x9A5CF0), Hex(0xFFF8B0), Hex(0xFFC43A), 15},
    {"Penta Swat!", Hex(0xF050B8), Hex(0xFFFFFF), Hex(0xFFE070), 16},
    {"Mega Swat!", Hex(0xFF8A1E), Hex(0xFFFFA0), Hex(0xFFE030), 18},
    {"MONSTER SWAT!", Hex(0xF0302A), Hex(0xFFFFA0), Hex(0xFFC820), 20},
};

void Burst(cairo_t* cr, double cx, double cy, double rx, double ry, int spikes, Color color) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, rx, ry);
  StarBurst(cr, 0, 0, 0.78, 1.0, spikes, 0.1);
  cairo_restore(cr);
  FillShaded(cr, color, cx, cy, rx);
  Ink(cr, 3);
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, rx * 0.8, ry * 0.72);
  StarBurst(cr, 0, 0, 0.85, 1.0, spikes, 0.1 + 3.14159 / spikes);
  cairo_restore(cr);
  SetColor(cr, Lighter(color, 0.35));
  cairo_fill(cr);
}

}  // namespace

void DrawMissBadge(cairo_t* cr) {
  // A dust puff of overlapping round clouds.
  const double puffs[][3] = {{40, 48, 26}, {78, 34, 28}, {120, 36, 27}, {160, 48, 25}, {100, 56, 30}, {58, 58, 22},
                             {140, 60, 22}};
  for (const auto& p : puffs) Ellipse(cr, p[0], p[1], p[2], p[2] * 0.8);
  SetColor(cr, kInk);
  cairo_set_line_width(cr, 6);
  cairo_stroke_preserve(cr);
  FillVertical(cr, Hex(0xEEF0F4), Hex(0xA4ABBA), 10, 80);
  cairo_new_path(cr);
  Lettering(cr, "Miss!", 100, 45, 44, LetterStyle{Hex(0xFFB0A0), Hex(0xE0402E), kInk, 5, 3});
}

void DrawHitBurst(cairo_t* cr, int targets, int width, int height) {
  const BurstLook& look = kLooks[targets - 1];
  const double grow = 0.62 + 0.38 * (targets - 1) / 6.0;
  const double cx = width / 2.0;
  const double cy = height / 2.0;
  Burst(cr, cx, cy, (width / 2.0 - 3) * grow, (height / 2.0 - 3) * grow, look.spikes, look.burst);
  const double size = FitLetteringSize(cr, look.words, width * grow * 0.72, height * grow * 0.5, 6);
  Lettering(cr, look.words, cx, cy, size, LetterStyle{look.letterTop, look.letterBottom, kInk, 6, 3});
}

void DrawWaspBonus(cairo_t* cr, int width, int height) {
  const double cx = width / 2.0;
  const double cy = height / 2.0;
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, width / 2.0 - 3, height / 2.0 - 3);
  StarBurst(cr, 0, 0, 0.8, 1.0, 18, 0.0);
  cairo_restore(cr);
  FillShaded(cr, Hex(0xFFD21E), cx, cy, width / 2.0);
  PaintInside(cr, [cr, height] {
    for (int i = -12; i < 14; ++i) {  // wasp stripes
      cairo_move_to(cr, i * 30.0, 0);
      cairo_line_to(cr, i * 30.0 + 12, 0);
      cairo_line_to(cr, i * 30.0 + 12 + height, height);
      cairo_line_to(cr, i * 30.0 + height, height);
      cairo_close_path(cr);
    }
    SetColor(cr, Hex(0x3A3040), 0.85);
    cairo_fill(cr);
  });
  Ink(cr, 3);
  RoundedRect(cr, cx - 120, cy - 42, 240, 84, 30);
  SetColor(cr, Hex(0xFFF4C8));
  cairo_fill_preserve(cr);
  Ink(cr, 3);
  Lettering(cr, "Wasp!", cx - 30, cy - 14, 36, LetterStyle{Hex(0xFFE040), Hex(0xF08A10), kInk, 5, 2});
  Lettering(cr, "+1 cream", cx - 30, cy + 20, 26, LetterStyle{Hex(0xFFFFFF), Hex(0xFFD0E0), kInk, 4, 2});
  cairo_save(cr);
  cairo_translate(cr, cx + 52, cy - 30);
  cairo_scale(cr, 1.9, 1.9);
  DrawCream(cr);
  cairo_restore(cr);
}

void DrawOkButton(cairo_t* cr) {
  RoundedRect(cr, 3, 6, 94, 52, 18);  // drop shadow
  SetColor(cr, Hex(0x1E5A1E));
  cairo_fill(cr);
  RoundedRect(cr, 3, 2, 94, 50, 18);
  FillVertical(cr, Hex(0x9AF07A), Hex(0x32A832), 2, 52);
  Ink(cr, 3);
  RoundedRect(cr, 10, 6, 80, 14, 7);
  SetColor(cr, kWhite, 0.35);
  cairo_fill(cr);
  Lettering(cr, "OK", 50, 27, 36, LetterStyle{Hex(0xFFFFFF), Hex(0xFFF7B0), kInk, 5, 2});
}
