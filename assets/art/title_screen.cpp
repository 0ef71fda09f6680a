// The title: the name, a fly fleeing a swatter, and the four menu buttons painted inside the
// rectangles the menu tests (play, highscores, credits, exit).
#include <array>

#include "assets/art/art.h"
#include "tools/art/cartoon.h"

namespace {

struct MenuButton {
  const char* label;
  double left, top, right, bottom;
  Color color;
};

void Button(cairo_t* cr, const MenuButton& b) {
  const double w = b.right - b.left;
  const double h = b.bottom - b.top;
  RoundedRect(cr, b.left + 1, b.top + 3, w, h, h / 2);
  SetColor(cr, Darker(b.color, 0.6));
  cairo_fill(cr);
  RoundedRect(cr, b.left, b.top, w, h, h / 2);
  FillVertical(cr, Lighter(b.color, 0.35), b.color, b.top, b.bottom);
  Ink(cr, 2.5);
  RoundedRect(cr, b.left + h / 3, b.top + 3, w - h / 1.5, h / 4, h / 8);
  SetColor(cr, kWhite, 0.4);
  cairo_fill(cr);
  const double size = FitLetteringSize(cr, b.label, w - h * 0.8, h - 6, 3);
  Lettering(cr, b.label, b.left + w / 2, b.top + h / 2, size, LetterStyle{kWhite, Hex(0xFFF6C0), kInk, 3.5, 0});
}

void Sky(cairo_t* cr) {
  cairo_rectangle(cr, 0, 0, 640, 480);
  FillVertical(cr, Hex(0x7CC8F8), Hex(0xD8F0FF), 0, 320);
  cairo_new_path(cr);
  SunRays(cr, 320, 90, 24, 700, 0.13, kWhite, 0.22);
}

void Table(cairo_t* cr) {
  cairo_rectangle(cr, 0, 318, 640, 162);
  FillVertical(cr, Hex(0xE0A866), Hex(0xB87838), 318, 480);
  cairo_new_path(cr);
  for (int i = 0; i < 5; ++i) {
    cairo_move_to(cr, 0, 350 + i * 32);
    cairo_line_to(cr, 640, 350 + i * 32);
  }
  SetColor(cr, Hex(0x9A6430), 0.5);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  cairo_rectangle(cr, 0, 312, 640, 10);
  FillVertical(cr, Hex(0xF0C080), Hex(0xC88848), 312, 322);
  Ink(cr, 3);
}

}  // namespace

void DrawTitleScreen(cairo_t* cr) {
  Sky(cr);
  Table(cr);
  // Cloud puffs.
  for (const auto& c : {std::array{70.0, 70.0}, std::array{560.0, 56.0}, std::array{600.0, 230.0}}) {
    for (int i = 0; i < 3; ++i) Ellipse(cr, c[0] - 24 + i * 24, c[1] - (i == 1 ? 10 : 0), 24, 18);
    SetColor(cr, kWhite, 0.9);
    cairo_fill(cr);
  }
  Lettering(cr, "Zimbrel", 320, 86, 124, LetterStyle{Hex(0xC8FF6A), Hex(0x3CB43C), kInk, 12, 7});
  Lettering(cr, "the great fly swat", 320, 168, 34, LetterStyle{kWhite, Hex(0xFFE8A0), kInk, 6, 3});

  cairo_save(cr);  // the hero fly, dashing away to the top-left
  cairo_translate(cr, 48, 180);
  cairo_scale(cr, 6.2, 6.2);
  DrawFly(cr, 1);
  cairo_restore(cr);
  for (int i = 0; i < 3; ++i) {  // speed lines behind it
    cairo_move_to(cr, 200 + i * 14, 330 - i * 26);
    cairo_line_to(cr, 250 + i * 14, 380 - i * 26);
  }
  SetColor(cr, kWhite);
  cairo_set_line_width(cr, 5);
  cairo_stroke(cr);

  cairo_save(cr);  // the swatter coming down on it
  cairo_translate(cr, 318, 214);
  cairo_rotate(cr, -0.42);
  cairo_scale(cr, 1.35, 1.35);
  DrawSwatter(cr, true);
  cairo_restore(cr);

  const MenuButton buttons[] = {
      {"Play", 462, 336, 594, 367, Hex(0x3CB43C)},
      {"Highscores", 430, 382, 595, 405, Hex(0x2E86DE)},
      {"Credits", 458, 424, 576, 446, Hex(0x9A5CD0)},
      {"Exit", 25, 425, 86, 450, Hex(0xE0443A)},
  };
  for (const MenuButton& b : buttons) Button(cr, b);
}
