#pragma once
// Small table-top props shared by the stage backgrounds.
#include <cairo.h>

void DrawPlateWithCake(cairo_t* cr, double cx, double cy, double scale);
void DrawCupFromAbove(cairo_t* cr, double cx, double cy, double radius);
void DrawDaisy(cairo_t* cr, double cx, double cy, double radius);
void DrawCrumbs(cairo_t* cr, double cx, double cy, double spread, unsigned seed);
// A soft shaded strip behind the head-up texts so the yellow and red read on any pattern.
void DrawCalmStrip(cairo_t* cr, double top, double height, double alpha);
