#pragma once
// Putting the game's pictures onto a cairo canvas the way the game blits them.
#include <cairo.h>

#include "tools/art/image.h"

// Draws the picture at (x, y); with `keyed`, pure black pixels are left out (the colour key).
void PaintImage(cairo_t* cr, const Image& image, double x, double y, bool keyed);
// A grey checkerboard, the usual backdrop for showing transparency.
void PaintCheckerboard(cairo_t* cr, double x, double y, double w, double h, double cell);
