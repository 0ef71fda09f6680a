// Windows bitmaps turned into off-screen surfaces in the display's pixel format.
#pragma once

#include <cstdint>

#include "platform/win32/ddraw.h"

// The size of the bitmap read last, set even when its surface could not be made.
extern int32_t LastBitmapWidth;
extern int32_t LastBitmapHeight;

// A bitmap resource of that name inside the program, else the file; width and height 0 keep
// the bitmap's own size. None when neither can be read or the surface cannot be made.
IDirectDrawSurface7* LoadBitmapSurface(IDirectDraw7* directDraw, const char* path, int width,
                                       int height);
// Stretches the bitmap's rectangle (0 width or height: the bitmap's own) over the surface.
HRESULT CopyBitmapToSurface(IDirectDrawSurface7* surface, HBITMAP bitmap, int x, int y,
                            int width, int height);
