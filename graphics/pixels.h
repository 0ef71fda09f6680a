// Direct access to a surface's pixels. LockPixels hands out the first pixel as the game's
// 32-bit words; a PixelView reads and writes a pixel in the surface's own layout (four bytes a
// pixel, or three on a display of 24 bits per pixel), so code that touches single pixels gives
// the same picture at both depths.
#pragma once

#include <cstdint>

#include "platform/win32/ddraw.h"

// The first pixel of the locked surface, or none when the lock is refused.
uint32_t* LockPixels(IDirectDrawSurface7* surface);
void UnlockPixels(IDirectDrawSurface7* surface);

struct PixelView {
  uint8_t* first = nullptr;
  int32_t pitch = 0;  // bytes from one row to the next
  int32_t bytesPerPixel = 0;
  int32_t width = 0;
  int32_t height = 0;
};

// The surface locked last by LockPixels, as Display.surfaceDesc describes it.
PixelView LockedPixelView();
bool PixelInside(const PixelView& view, int x, int y);
// The raw pixel value as ColorFill takes it (0x00RRGGBB at both depths); a position outside
// the picture reads 0 and is never written.
uint32_t ReadPixel(const PixelView& view, int x, int y);
void WritePixel(const PixelView& view, int x, int y, uint32_t value);
