#include "graphics/pixels.h"

#include "graphics/display.h"

uint32_t* LockPixels(IDirectDrawSurface7* surface) {
  if (!surface || surface->Lock(nullptr, &Display.surfaceDesc, DDLOCK_WAIT, nullptr) != DD_OK) {
    return nullptr;
  }
  return static_cast<uint32_t*>(Display.surfaceDesc.lpSurface);
}

void UnlockPixels(IDirectDrawSurface7* surface) {
  if (surface) surface->Unlock(nullptr);
}
