#include "graphics/color_key.h"

DWORD MatchColor(IDirectDrawSurface7* surface, COLORREF color) {
  DWORD result = 0xFFFFFFFFu;
  COLORREF kept = CLR_INVALID;
  bool colorKept = false;
  HDC dc = nullptr;
  if (color != CLR_INVALID && surface->GetDC(&dc) == DD_OK) {
    kept = GetPixel(dc, 0, 0);
    colorKept = true;
    SetPixel(dc, 0, 0, color);
    surface->ReleaseDC(dc);
  }
  DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof desc;
  HRESULT locked = DDERR_WASSTILLDRAWING;
  while (locked == DDERR_WASSTILLDRAWING) locked = surface->Lock(nullptr, &desc, 0, nullptr);
  if (locked == DD_OK) {
    result = *static_cast<const DWORD*>(desc.lpSurface);
    const DWORD bits = desc.ddpfPixelFormat.dwRGBBitCount;
    if (bits < 32) result &= (1u << bits) - 1;
    surface->Unlock(nullptr);
  }
  if (colorKept && surface->GetDC(&dc) == DD_OK) {
    SetPixel(dc, 0, 0, kept);
    surface->ReleaseDC(dc);
  }
  return result;
}

HRESULT SetSurfaceColorKey(IDirectDrawSurface7* surface, COLORREF color) {
  DDCOLORKEY key;
  key.dwColorSpaceLowValue = key.dwColorSpaceHighValue = MatchColor(surface, color);
  surface->SetColorKey(DDCKEY_DESTBLT, &key);
  return surface->SetColorKey(DDCKEY_SRCBLT, &key);
}

