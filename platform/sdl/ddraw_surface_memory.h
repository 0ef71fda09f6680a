// Making and freeing the pixels of DirectDraw surfaces, for the platform layer only.
#pragma once

#include <cstdint>

#include "platform/win32/ddraw.h"

// A surface of that size in an SDL pixel format (SDL_PIXELFORMAT_RGB888 or BGR24), or none.
IDirectDrawSurface7* NewSurface(int width, int height, uint32_t pixelFormat, DWORD caps);
void FreeSurfacePixels(IDirectDrawSurface7* surface);
