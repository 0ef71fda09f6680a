// The two pictures after the boss: the full celebration for a game with a swat of seven or more
// flies, and a cheerful "so close" for a game without one.

#include "assets/art/art.h"
#include "tools/art/cartoon.h"

namespace {

void Rays(cairo_t* cr, Color inner, Color outer, Color ray) {
  cairo_rectangle(cr, 0, 0, 640, 480);
  cairo_pattern_t* p = cairo_pattern_create_radial(320, 260, 20, 320, 260, 420);
  cairo_pattern_add_color_stop_rgb(p, 0, inner.r, inner.g, inner.b);
  cairo_pattern_add_color_stop_rgb(p, 1, outer.r, outer.g, outer.b);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  SunRays(cr, 320, 260, 20, 600, 0.15, ray, 0.25);
}

void Confetti(cairo_t* cr) {
  const Color colors[] = {Hex(0xF03A4A), Hex(0x3AB4F0), Hex(0x5CD040), Hex(0xFFC820), Hex(0xB45CF0)};
  unsigned state = 99;
  auto next = [&state]() {
    state = state * 1103515245u + 12345u;
    return static_cast<double>((state >> 16) & 0x7FFF) / 32767.0;
  };
  for (int i = 0; i < 70; ++i) {
    cairo_save(cr);
    cairo_translate(cr, next() * 640, next() * 480);
    cairo_rotate(cr, next() * 3);
    cairo_rectangle(cr, -5, -3, 10, 6);
    SetColor(cr, colors[i % 5]);
    cairo_fill_preserve(cr);
    Ink(cr, 1.2);
    cairo_restore(cr);
  }
}

void BigSwatter(cairo_t* cr, double x, double y, double angle, double scale) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_rotate(cr, angle);
  cairo_scale(cr, scale, scale);
  DrawSwatter(cr, false);
  cairo_restore(cr);
}

}  // namespace

void DrawWellDone(cairo_t* cr) {
  Rays(cr, Hex(0xFFF2A8), Hex(0xFFB43A), kWhite);
  Confetti(cr);
  Lettering(cr, "Well done!", 320, 80, 96, LetterStyle{Hex(0xFFFFFF), Hex(0xFFE04A), kInk, 10, 6});
  Lettering(cr, "Swat Master", 320, 162, 44, LetterStyle{Hex(0xFF8A6A), Hex(0xE0302E), kInk, 6, 3});
  BigSwatter(cr, 250, 220, -0.25, 1.3);
  cairo_save(cr);  // the crown the king lost
  cairo_translate(cr, 330, 330);
  cairo_scale(cr, 0.6, 0.6);
  DrawBoss(cr, 0, true);
  cairo_restore(cr);
  Lettering(cr, "The Fly King is down, and you swatted a whole swarm at once!", 320, 452, 20,
            LetterStyle{Hex(0x5A2A10), Hex(0x5A2A10), kWhite, 3, 0});
}

void DrawSoClose(cairo_t* cr) {
  Rays(cr, Hex(0xD8F0FF), Hex(0x6AA8E8), kWhite);
  Lettering(cr, "So close!", 320, 80, 96, LetterStyle{Hex(0xFFFFFF), Hex(0xC8E8FF), kInk, 10, 6});
  Lettering(cr, "The king is beaten...", 320, 160, 40, LetterStyle{Hex(0xFFF27A), Hex(0xFFB41E), kInk, 6, 3});
  for (int i = 0; i < 5; ++i) {  // his flies get away laughing
    cairo_save(cr);
    cairo_translate(cr, 120 + i * 90, 300 - (i % 2) * 50);
    cairo_scale(cr, 2.2, 2.2);
    DrawFly(cr, i % 3);
    cairo_restore(cr);
  }
  BigSwatter(cr, 40, 210, -0.6, 1.0);
  Lettering(cr, "...but his swarm got away. Swat seven flies at once next time!", 320, 452, 20,
            LetterStyle{Hex(0x1A2A5A), Hex(0x1A2A5A), kWhite, 3, 0});
}
