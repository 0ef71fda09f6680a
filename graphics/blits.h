// Pictures drawn whole: stretched over the screen, copied, keyed, or centred.
#pragma once

#include "platform/win32/ddraw.h"

// Each draws nothing for an empty picture. A picture that would reach past the target's edge
// is refused by the blitter and draws nothing at all.
void DrawFullScreen(IDirectDrawSurface7* picture);
void DrawOpaque(IDirectDrawSurface7* target, int x, int y, IDirectDrawSurface7* picture);
void DrawSprite(IDirectDrawSurface7* target, int x, int y, IDirectDrawSurface7* picture);
void DrawCentered(IDirectDrawSurface7* target, IDirectDrawSurface7* picture);

// Where the picture stands centred on the 640 x 480 screen (truncated); an empty picture
// counts as 0 x 0 and gives the middle of the screen.
int CenterOffsetX(IDirectDrawSurface7* picture);
int CenterOffsetY(IDirectDrawSurface7* picture);
