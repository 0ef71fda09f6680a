// Direct access to a surface's pixels as 32-bit words: pixel (x, y) is word
// y * (Display.surfaceDesc.lPitch / 4) + x from the first pixel.
#pragma once

#include <cstdint>

#include "platform/ddraw.h"

// The first pixel of the locked surface, or none when the lock is refused.
uint32_t* LockPixels(IDirectDrawSurface7* surface);
void UnlockPixels(IDirectDrawSurface7* surface);
