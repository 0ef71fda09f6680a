#include "graphics/pixels.h"

#include <cstddef>
#include <cstring>

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

PixelView LockedPixelView() {
  const DDSURFACEDESC2& desc = Display.surfaceDesc;
  PixelView view;
  view.first = static_cast<uint8_t*>(desc.lpSurface);
  view.pitch = desc.lPitch;
  view.bytesPerPixel = static_cast<int32_t>(desc.ddpfPixelFormat.dwRGBBitCount / 8);
  view.width = static_cast<int32_t>(desc.dwWidth);
  view.height = static_cast<int32_t>(desc.dwHeight);
  return view;
}

bool PixelInside(const PixelView& view, int x, int y) {
  return view.first != nullptr && view.bytesPerPixel > 0 && view.bytesPerPixel <= 4 && x >= 0 && y >= 0 &&
         x < view.width && y < view.height;
}

namespace {

uint8_t* PixelAddress(const PixelView& view, int x, int y) {
  return view.first + static_cast<ptrdiff_t>(y) * view.pitch +
         static_cast<ptrdiff_t>(x) * view.bytesPerPixel;
}

}  // namespace

// A 32-bit pixel is a native word; a 24-bit pixel is its bytes blue, green, red in memory.
uint32_t ReadPixel(const PixelView& view, int x, int y) {
  if (!PixelInside(view, x, y)) return 0;
  const uint8_t* pixel = PixelAddress(view, x, y);
  uint32_t value = 0;
  if (view.bytesPerPixel == 4) {
    std::memcpy(&value, pixel, 4);
    return value;
  }
  for (int i = 0; i < view.bytesPerPixel; ++i) value |= uint32_t{pixel[i]} << (8 * i);
  return value;
}

void WritePixel(const PixelView& view, int x, int y, uint32_t value) {
  if (!PixelInside(view, x, y)) return;
  uint8_t* pixel = PixelAddress(view, x, y);
  if (view.bytesPerPixel == 4) {
    std::memcpy(pixel, &value, 4);
    return;
  }
  for (int i = 0; i < view.bytesPerPixel; ++i) pixel[i] = static_cast<uint8_t>(value >> (8 * i));
}
