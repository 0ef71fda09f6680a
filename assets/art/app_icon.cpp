#include "assets/art/app_icon.h"

#include <numbers>

#include "assets/art/art.h"
#include "tools/art/cartoon.h"

namespace {

// Drawn on a 256-unit grid and scaled, so every size is the same picture.
constexpr double kGrid = 256;
constexpr double kTile = 224;
constexpr double kTileCorner = 44;
constexpr double kCheck = kTile / 6;
constexpr double kFlyBox = 35;  // the fly is drawn in a 35-unit box centred at 17.5
constexpr double kFlyScale = 5.4;

void Tablecloth(cairo_t* cr, double x0) {
  RoundedRect(cr, x0, x0, kTile, kTile, kTileCorner);
  PaintInside(cr, [cr, x0] {
    SetColor(cr, Hex(0xFBF4EA));
    cairo_paint(cr);
    for (int i = 0; i < 6; i += 2) {
      cairo_rectangle(cr, x0 + i * kCheck, x0, kCheck, kTile);
      cairo_rectangle(cr, x0, x0 + i * kCheck, kTile, kCheck);
    }
    SetColor(cr, Hex(0xE07A70), 0.5);
    cairo_fill(cr);
    for (int i = 0; i < 6; i += 2) {  // where the bands cross they overlap darker
      for (int j = 0; j < 6; j += 2) cairo_rectangle(cr, x0 + i * kCheck, x0 + j * kCheck, kCheck, kCheck);
    }
    SetColor(cr, Hex(0xD05A52), 0.35);
    cairo_fill(cr);
  });
  Ink(cr, 6);
}

void FlyWithShadow(cairo_t* cr) {
  // The fly's body reaches further to the bottom right than its head to the top left.
  const double corner = (kGrid - kFlyBox * kFlyScale) / 2 - 5;
  cairo_save(cr);
  cairo_translate(cr, corner, corner);
  cairo_scale(cr, kFlyScale, kFlyScale);
  cairo_save(cr);  // a soft shadow the shape of the body, cast to the bottom right
  cairo_translate(cr, kFlyBox / 2 + 1.5, kFlyBox / 2 + 2);
  cairo_rotate(cr, -std::numbers::pi / 4);
  Ellipse(cr, 0, 1.5, 8.5, 14);
  SetColor(cr, kInk, 0.2);
  cairo_fill(cr);
  cairo_restore(cr);
  DrawFly(cr, 0);
  cairo_restore(cr);
}

}  // namespace

void DrawAppIcon(cairo_t* cr, int size) {
  cairo_save(cr);
  cairo_scale(cr, size / kGrid, size / kGrid);
  Tablecloth(cr, (kGrid - kTile) / 2);
  FlyWithShadow(cr);
  cairo_restore(cr);
}
