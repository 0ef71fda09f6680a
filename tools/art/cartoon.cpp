#include "tools/art/cartoon.h"

#include <algorithm>
#include <cmath>
#include <numbers>

Color Mix(Color a, Color b, double t) {
  return Color{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Color Lighter(Color c, double t) { return Mix(c, kWhite, t); }
Color Darker(Color c, double t) { return Mix(c, kInk, t); }

void SetColor(cairo_t* cr, Color c, double alpha) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, rx, ry);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * std::numbers::pi);
  cairo_restore(cr);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double radius) {
  const double r = std::min(radius, std::min(w, h) / 2);
  const double q = std::numbers::pi / 2;
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -q, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, q);
  cairo_arc(cr, x + r, y + h - r, r, q, 2 * q);
  cairo_arc(cr, x + r, y + r, r, 2 * q, 3 * q);
  cairo_close_path(cr);
}

void StarBurst(cairo_t* cr, double cx, double cy, double innerRadius, double outerRadius, int points,
               double turn) {
  cairo_new_sub_path(cr);
  for (int i = 0; i < points * 2; ++i) {
    const double angle = turn + std::numbers::pi * i / points;
    const double r = (i % 2 == 0) ? outerRadius : innerRadius;
    cairo_line_to(cr, cx + r * std::cos(angle), cy + r * std::sin(angle));
  }
  cairo_close_path(cr);
}

void FillShaded(cairo_t* cr, Color base, double cx, double cy, double radius) {
  cairo_pattern_t* p =
      cairo_pattern_create_radial(cx - radius * 0.35, cy - radius * 0.4, radius * 0.05, cx, cy, radius * 1.1);
  const Color light = Lighter(base, 0.45);
  const Color dark = Darker(base, 0.35);
  cairo_pattern_add_color_stop_rgb(p, 0, light.r, light.g, light.b);
  cairo_pattern_add_color_stop_rgb(p, 0.55, base.r, base.g, base.b);
  cairo_pattern_add_color_stop_rgb(p, 1, dark.r, dark.g, dark.b);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
}

void FillVertical(cairo_t* cr, Color top, Color bottom, double y0, double y1) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
  cairo_pattern_add_color_stop_rgb(p, 0, top.r, top.g, top.b);
  cairo_pattern_add_color_stop_rgb(p, 1, bottom.r, bottom.g, bottom.b);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
}

void Ink(cairo_t* cr, double width) {
  SetColor(cr, kInk);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}

void ShadedInked(cairo_t* cr, Color base, double cx, double cy, double radius, double inkWidth) {
  FillShaded(cr, base, cx, cy, radius);
  Ink(cr, inkWidth);
}

void Gloss(cairo_t* cr, double cx, double cy, double rx, double ry, double alpha) {
  Ellipse(cr, cx, cy, rx, ry);
  SetColor(cr, kWhite, alpha);
  cairo_fill(cr);
}

void SelectLetteringFont(cairo_t* cr, double size) {
  cairo_select_font_face(cr, kLetteringFace, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, size);
}

void Lettering(cairo_t* cr, const char* text, double cx, double cy, double size, const LetterStyle& style) {
  cairo_save(cr);
  SelectLetteringFont(cr, size);
  cairo_text_extents_t ext;
  cairo_text_extents(cr, text, &ext);
  const double x = cx - ext.x_bearing - ext.width / 2;
  const double y = cy - ext.y_bearing - ext.height / 2;
  if (style.shadowOffset > 0) {
    cairo_move_to(cr, x + style.shadowOffset, y + style.shadowOffset);
    cairo_text_path(cr, text);
    SetColor(cr, kInk);
    cairo_set_line_width(cr, style.outlineWidth);
    cairo_stroke_preserve(cr);
    cairo_fill(cr);
  }
  cairo_move_to(cr, x, y);
  cairo_text_path(cr, text);
  SetColor(cr, style.outline);
  cairo_set_line_width(cr, style.outlineWidth);
  cairo_stroke_preserve(cr);
  FillVertical(cr, style.top, style.bottom, y + ext.y_bearing, y + ext.y_bearing + ext.height);
  cairo_new_path(cr);
  cairo_restore(cr);
}

double FitLetteringSize(cairo_t* cr, const char* text, double maxWidth, double maxHeight, double outlineWidth) {
  cairo_save(cr);
  SelectLetteringFont(cr, 100);
  cairo_text_extents_t ext;
  cairo_text_extents(cr, text, &ext);
  cairo_restore(cr);
  const double byWidth = (maxWidth - outlineWidth) / ext.width;
  const double byHeight = (maxHeight - outlineWidth) / ext.height;
  return 100 * std::min(byWidth, byHeight);
}

void SunRays(cairo_t* cr, double cx, double cy, int count, double length, double width, Color color,
             double alpha) {
  for (int i = 0; i < count; ++i) {
    const double a = i * std::numbers::pi / (count / 2.0);
    cairo_move_to(cr, cx, cy);
    cairo_line_to(cr, cx + length * std::cos(a), cy + length * std::sin(a));
    cairo_line_to(cr, cx + length * std::cos(a + width), cy + length * std::sin(a + width));
    cairo_close_path(cr);
  }
  SetColor(cr, color, alpha);
  cairo_fill(cr);
}
