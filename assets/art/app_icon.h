#pragma once
// The application icon: the game's fly on a corner of its gingham tablecloth.
#include <cairo.h>

// Draws the icon filling a size x size canvas; the corners outside the tile stay transparent.
void DrawAppIcon(cairo_t* cr, int size);
