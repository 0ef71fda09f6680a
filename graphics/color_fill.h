// Solid rectangles in a raw pixel value of the target (right and bottom exclusive).
#pragma once

#include "platform/win32/ddraw.h"

extern DDBLTFX FillFx;

HRESULT ColorFill(int left, int top, int right, int bottom, DWORD color,
                  IDirectDrawSurface7* target);
