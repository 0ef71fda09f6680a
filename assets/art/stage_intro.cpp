// The stage intro: a ribbon reading "Stage" above the place where the number goes (y 293).
#include <string>

#include <initializer_list>

#include "assets/art/art.h"
#include "tools/art/cartoon.h"

void DrawStageBanner(cairo_t* cr) {
  constexpr Color kRibbon = Hex(0xE8413A);
  const double top = 176;
  const double bottom = 276;
  for (double side : {-1.0, 1.0}) {  // the folded ribbon ends
    const double inner = 320 + side * 190;
    const double outer = 320 + side * 290;
    cairo_move_to(cr, inner, top + 22);
    cairo_line_to(cr, outer, top + 22);
    cairo_line_to(cr, outer - side * 34, (top + bottom) / 2 + 11);
    cairo_line_to(cr, outer, bottom + 22);
    cairo_line_to(cr, inner, bottom + 22);
    cairo_close_path(cr);
    ShadedInked(cr, Darker(kRibbon, 0.25), inner, top + 60, 120, 4);
  }
  cairo_move_to(cr, 110, top);
  cairo_curve_to(cr, 250, top - 16, 390, top - 16, 530, top);
  cairo_line_to(cr, 530, bottom);
  cairo_curve_to(cr, 390, bottom - 16, 250, bottom - 16, 110, bottom);
  cairo_close_path(cr);
  FillVertical(cr, Lighter(kRibbon, 0.25), Darker(kRibbon, 0.1), top, bottom);
  Ink(cr, 4);
  cairo_move_to(cr, 124, top + 10);
  cairo_curve_to(cr, 250, top - 4, 390, top - 4, 516, top + 10);
  SetColor(cr, kWhite, 0.5);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  Lettering(cr, "Stage", 320, (top + bottom) / 2 - 8, 84, LetterStyle{Hex(0xFFFFFF), Hex(0xFFE27A), kInk, 7, 4});
  for (const auto& s : {std::pair{84.0, 140.0}, std::pair{556.0, 132.0}, std::pair{150.0, 96.0}, std::pair{500.0, 84.0}}) {
    StarBurst(cr, s.first, s.second, 6, 16, 5, -1.5708);
    ShadedInked(cr, Hex(0xFFD83A), s.first, s.second, 16, 2.5);
  }
}

void DrawStageNumber(cairo_t* cr, int number, int width, int height) {
  const std::string text = std::to_string(number);
  const double size = FitLetteringSize(cr, text.c_str(), width - 8, height - 8, 10);
  Lettering(cr, text.c_str(), width / 2.0 - 2, height / 2.0 - 2, size,
            LetterStyle{Hex(0xFFF59A), Hex(0xFF9A1E), kInk, 10, 5});
}
