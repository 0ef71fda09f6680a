// The picture shown on leaving: our own playful age-rating card.
#include "assets/art/art.h"
#include "tools/art/cartoon.h"

void DrawAgeNotice(cairo_t* cr) {
  cairo_rectangle(cr, 0, 0, 640, 480);
  FillVertical(cr, Hex(0xFFF3D6), Hex(0xF4D9A8), 0, 480);
  cairo_new_path(cr);
  RoundedRect(cr, 60, 50, 520, 380, 30);
  SetColor(cr, Hex(0xFFFFFF));
  cairo_fill_preserve(cr);
  Ink(cr, 5);
  // The badge: a rounded shield with the age.
  cairo_move_to(cr, 110, 110);
  cairo_line_to(cr, 250, 110);
  cairo_line_to(cr, 250, 220);
  cairo_curve_to(cr, 250, 270, 200, 300, 180, 310);
  cairo_curve_to(cr, 160, 300, 110, 270, 110, 220);
  cairo_close_path(cr);
  ShadedInked(cr, Hex(0x3CB43C), 180, 200, 110, 5);
  Lettering(cr, "6+", 180, 190, 74, LetterStyle{kWhite, Hex(0xE8FFD8), kInk, 6, 3});
  Lettering(cr, "SWAT-RATED", 180, 272, 17, LetterStyle{kWhite, kWhite, kInk, 3, 0});
  const LetterStyle heading{Hex(0x3A3A5A), Hex(0x3A3A5A), kWhite, 0.1, 0};
  const LetterStyle body{Hex(0x5A5A78), Hex(0x5A5A78), kWhite, 0.1, 0};
  Lettering(cr, "Swat-rated 6+", 410, 130, 36, heading);
  Lettering(cr, "for fly swatters", 410, 172, 24, body);
  Lettering(cr, "aged six and up", 410, 202, 24, body);
  Lettering(cr, "Contains:", 410, 256, 24, heading);
  Lettering(cr, "cartoon flies, whipped cream", 410, 288, 20, body);
  Lettering(cr, "and mild squishing", 410, 314, 20, body);
  Lettering(cr, "Thanks for playing Zimbrel!", 320, 372, 30, LetterStyle{Hex(0xFF7A3A), Hex(0xE0442E), kInk, 3, 0});
  Lettering(cr, "click to leave", 320, 408, 20, body);
  cairo_save(cr);
  cairo_translate(cr, 520, 40);
  cairo_scale(cr, 2.4, 2.4);
  DrawFly(cr, 0);
  cairo_restore(cr);
}
