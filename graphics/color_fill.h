// Solid rectangles in a raw pixel value of the target (right and bottom exclusive).
#pragma once

#include "platform/ddraw.h"

extern DDBLTFX FillFx;

HRESULT ColorFill(int left, int top, int right, int bottom, DWORD color,
                  IDirectDrawSurface7* target);
