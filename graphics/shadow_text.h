// Text in the game font with a black shadow two pixels right and down.
#pragma once

#include "platform/win32/ddraw.h"

// Screens format their texts here before drawing them.
extern char TextBuffer[80];

// (x, y) is the top-left corner of the text's cell. 1 when drawn, 0 when the target's device
// context could not be had.
int DrawShadowText(const char* text, int x, int y, COLORREF color, IDirectDrawSurface7* target);
// The same, cut off at x = right (excluded), shadow and all: a text that may be wider than its
// column never runs into the next.
int DrawShadowTextInColumn(const char* text, int x, int y, int right, COLORREF color,
                           IDirectDrawSurface7* target);
// Yellow text onto the background picture, at x = 350 - 10 per character: it shows from the
// next frame on and stays until the background is replaced.
void DrawBannerText(const char* text, int y);
