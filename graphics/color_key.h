// GDI colours turned into raw pixel values and colour keys of surfaces.
#pragma once

#include "platform/win32/ddraw.h"

// The raw value the colour takes on the surface, read back from its top-left pixel (which keeps
// its own colour); CLR_INVALID reads the pixel as it is. 0xFFFFFFFF when the lock fails.
DWORD MatchColor(IDirectDrawSurface7* surface, COLORREF color);
// The colour's raw value becomes the surface's source and destination key.
HRESULT SetSurfaceColorKey(IDirectDrawSurface7* surface, COLORREF color);
