#pragma once
// Every picture of the game, each drawn with cairo onto a canvas of its own size.
#include <cairo.h>

void DrawFly(cairo_t* cr, int wingPhase);
void DrawDeadFly(cairo_t* cr);
void DrawWasp(cairo_t* cr);
void DrawDeadWasp(cairo_t* cr);
void DrawCream(cairo_t* cr);
void DrawSwatter(cairo_t* cr, bool swinging);

void DrawMissBadge(cairo_t* cr);
void DrawHitBurst(cairo_t* cr, int targets, int width, int height);
void DrawWaspBonus(cairo_t* cr, int width, int height);
void DrawOkButton(cairo_t* cr);

void DrawStageBanner(cairo_t* cr);
void DrawStageNumber(cairo_t* cr, int number, int width, int height);

void DrawBoss(cairo_t* cr, int wingPhase, bool hurt);
void DrawWinBadge(cairo_t* cr, int width, int height);

void DrawTitleScreen(cairo_t* cr);
void DrawTableclothBackdrop(cairo_t* cr);
void DrawWoodTableBackdrop(cairo_t* cr);
void DrawMeadowBackdrop(cairo_t* cr);
void DrawWindowSillBackdrop(cairo_t* cr);
void DrawHighscoreBackdrop(cairo_t* cr);
void DrawAgeNotice(cairo_t* cr);
void DrawWellDone(cairo_t* cr);
void DrawSoClose(cairo_t* cr);
