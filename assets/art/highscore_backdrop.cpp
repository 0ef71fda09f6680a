// The highscore table's background. The game draws ten rows of 30-pixel text at y 40 + 36 x row
// with no headings, so the headings sit above y 40 and each row gets a quiet band of its own.
#include <initializer_list>

#include "assets/art/art.h"
#include "tools/art/cartoon.h"

namespace {

constexpr double kFirstRowY = 40;
constexpr double kRowPitch = 36;

struct Heading {
  const char* text;
  double x;
};

}  // namespace

void DrawHighscoreBackdrop(cairo_t* cr) {
  cairo_rectangle(cr, 0, 0, 640, 480);
  FillVertical(cr, Hex(0x2A2F78), Hex(0x181C4C), 0, 480);
  cairo_new_path(cr);
  for (int row = 0; row < 10; ++row) {
    RoundedRect(cr, 0, kFirstRowY + row * kRowPitch - 1, 640, kRowPitch - 2, 6);
    SetColor(cr, row % 2 == 0 ? Hex(0x3A42A0) : Hex(0x323890), 0.75);
    cairo_fill(cr);
  }
  cairo_rectangle(cr, 0, 0, 640, 36);  // heading bar
  FillVertical(cr, Hex(0x5A64D8), Hex(0x3A42A8), 0, 36);
  cairo_new_path(cr);
  const Heading headings[] = {{"Score", 3}, {"Name", 130}, {"0", 210}, {"1", 270}, {"2", 330}, {"3", 380},
                              {"4", 427}, {"5", 474}, {"6", 521}, {"7+", 562}};
  const LetterStyle style{kWhite, Hex(0xC8D8FF), kInk, 4, 0};
  cairo_save(cr);
  SelectLetteringFont(cr, 22);
  for (const Heading& h : headings) {
    cairo_text_extents_t ext;
    cairo_text_extents(cr, h.text, &ext);
    Lettering(cr, h.text, h.x + 2 + ext.x_bearing + ext.width / 2, 18, 22, style);
  }
  cairo_restore(cr);
  // The footer explains the count columns and names the table.
  Lettering(cr, "Hall of Fame", 320, 432, 46, LetterStyle{Hex(0xFFF27A), Hex(0xFFA81E), kInk, 6, 3});
  Lettering(cr, "swats by flies hit: 0, 1, 2 ... 7 or more", 320, 466, 17,
            LetterStyle{Hex(0xC8D0FF), Hex(0xA8B4F0), kInk, 0.1, 0});
  for (double side : {-1.0, 1.0}) {
    cairo_save(cr);
    cairo_translate(cr, 320 + side * 185 - 16, 414);
    DrawFly(cr, side < 0 ? 0 : 2);
    cairo_restore(cr);
  }
}
