#pragma once
// The shared vocabulary of the game's cartoon look: colours, inked outlines, round shading,
// bursts and outlined lettering in the game's bold rounded face.
#include <cairo.h>

#include <cstdint>

struct Color {
  double r = 0, g = 0, b = 0;
};

constexpr Color Hex(std::uint32_t rgb) {
  return Color{static_cast<double>((rgb >> 16) & 0xFF) / 255.0, static_cast<double>((rgb >> 8) & 0xFF) / 255.0,
               static_cast<double>(rgb & 0xFF) / 255.0};
}

Color Mix(Color a, Color b, double t);
Color Lighter(Color c, double t);
Color Darker(Color c, double t);

// Outlines and dark details: near-black, never the transparent pure black.
inline constexpr Color kInk = Hex(0x221C2E);
inline constexpr Color kWhite = Hex(0xFFFFFF);

inline constexpr const char* kLetteringFace = "Comic Neue";

void SetColor(cairo_t* cr, Color c, double alpha = 1.0);
void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry);
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double radius);
void StarBurst(cairo_t* cr, double cx, double cy, double innerRadius, double outerRadius, int points,
               double turn);

// Fills the current path with a round light-from-top-left shading of `base` and keeps the path.
void FillShaded(cairo_t* cr, Color base, double cx, double cy, double radius);
// Light rays fanning out from a centre, each a thin wedge `width` radians wide.
void SunRays(cairo_t* cr, double cx, double cy, int count, double length, double width, Color color,
             double alpha);
// Fills the current path with a vertical gradient and keeps the path.
void FillVertical(cairo_t* cr, Color top, Color bottom, double y0, double y1);
// Strokes the current path in ink and clears it.
void Ink(cairo_t* cr, double width);
// Shaded fill and ink outline in one go.
void ShadedInked(cairo_t* cr, Color base, double cx, double cy, double radius, double inkWidth);
// A soft white gloss spot.
void Gloss(cairo_t* cr, double cx, double cy, double rx, double ry, double alpha);

// Runs `paint` clipped to the current path, then puts the path back for the ink outline.
template <typename Paint>
void PaintInside(cairo_t* cr, Paint paint) {
  cairo_path_t* outline = cairo_copy_path(cr);
  cairo_save(cr);
  cairo_clip(cr);
  paint();
  cairo_restore(cr);
  cairo_new_path(cr);
  cairo_append_path(cr, outline);
  cairo_path_destroy(outline);
}

struct LetterStyle {
  Color top;
  Color bottom;
  Color outline = kInk;
  double outlineWidth = 6;
  double shadowOffset = 4;
};

void SelectLetteringFont(cairo_t* cr, double size);
// Outlined, gradient-filled lettering centred on (cx, cy) by its ink extents.
void Lettering(cairo_t* cr, const char* text, double cx, double cy, double size, const LetterStyle& style);
// The largest size at which `text` fits in maxWidth x maxHeight (ink extents, outline included).
double FitLetteringSize(cairo_t* cr, const char* text, double maxWidth, double maxHeight, double outlineWidth);
