#include "graphics/bitmap_surface.h"

int32_t LastBitmapWidth = 0;
int32_t LastBitmapHeight = 0;

IDirectDrawSurface7* LoadBitmapSurface(IDirectDraw7* directDraw, const char* path, int width,
                                       int height) {
  if (!directDraw) return nullptr;
  auto bitmap = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), path, IMAGE_BITMAP,
                                                width, height, LR_CREATEDIBSECTION));
  if (!bitmap) {
    bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, path, IMAGE_BITMAP, width, height,
                                             LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  }
  if (!bitmap) return nullptr;
  BITMAP info;
  GetObjectA(bitmap, sizeof info, &info);
  DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
  desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
  desc.dwWidth = static_cast<DWORD>(info.bmWidth);
  desc.dwHeight = static_cast<DWORD>(info.bmHeight);
  LastBitmapWidth = info.bmWidth;
  LastBitmapHeight = info.bmHeight;
  IDirectDrawSurface7* surface = nullptr;
  if (directDraw->CreateSurface(&desc, &surface, nullptr) != DD_OK) {
    DeleteObject(bitmap);
    return nullptr;
  }
  CopyBitmapToSurface(surface, bitmap, 0, 0, 0, 0);
  DeleteObject(bitmap);
  return surface;
}

HRESULT CopyBitmapToSurface(IDirectDrawSurface7* surface, HBITMAP bitmap, int x, int y,
                            int width, int height) {
  if (!bitmap || !surface) return E_FAIL;
  surface->Restore();
  HDC memoryDc = CreateCompatibleDC(nullptr);
  if (!memoryDc) OutputDebugStringA("createcompatible dc failed\n");
  SelectObject(memoryDc, bitmap);
  BITMAP info;
  GetObjectA(bitmap, sizeof info, &info);
  if (width == 0) width = info.bmWidth;
  if (height == 0) height = info.bmHeight;
  DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = DDSD_HEIGHT | DDSD_WIDTH;
  surface->GetSurfaceDesc(&desc);
  HDC surfaceDc = nullptr;
  const HRESULT result = surface->GetDC(&surfaceDc);
  if (result == DD_OK) {
    StretchBlt(surfaceDc, 0, 0, static_cast<int>(desc.dwWidth), static_cast<int>(desc.dwHeight),
               memoryDc, x, y, width, height, SRCCOPY);
    surface->ReleaseDC(surfaceDc);
  }
  DeleteDC(memoryDc);
  return result;
}
