// Device contexts, bitmaps as objects, StretchBlt and pixel access.
#include "platform/win32/gdi.h"

#include <SDL.h>

#include <cstring>

#include "platform/sdl/gdi_objects.h"
#include "platform/sdl/picture_copy.h"
#include "platform/sdl/rendered_text_cache.h"
#include "platform/sdl/surface_pixels.h"
#include "platform/seams/headless.h"

namespace {

void Unselect(GdiObject*& slot) {
  if (slot) --slot->selections;
  slot = nullptr;
}

COLORREF ColorOfRawPixel(const SDL_Surface* surface, uint32_t raw) {
  Uint8 red = 0, green = 0, blue = 0;
  SDL_GetRGB(raw, surface->format, &red, &green, &blue);
  return RGB(red, green, blue);
}

}  // namespace

HDC CreateSurfaceDC(SDL_Surface* pixels) {
  HDC dc = new DeviceContext;
  dc->target = pixels;
  dc->ownedBySurface = true;
  return dc;
}

void DeleteSurfaceDC(HDC dc) {
  if (!dc) return;
  Unselect(dc->font);
  delete dc;
}

HDC CreateCompatibleDC(HDC) {
  if (HeadlessStepFails("CreateCompatibleDC")) return nullptr;
  return new DeviceContext;
}

BOOL DeleteDC(HDC dc) {
  if (!dc || dc->ownedBySurface) return FALSE;
  Unselect(dc->bitmap);
  Unselect(dc->font);
  delete dc;
  return TRUE;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  if (!dc || !object) return nullptr;
  GdiObject*& slot = object->kind == GdiKind::Bitmap ? dc->bitmap : dc->font;
  if (object->kind == GdiKind::Bitmap) {
    // Only a memory context takes a bitmap; a surface's context draws on the surface.
    if (dc->ownedBySurface) return nullptr;
    dc->target = object->pixels;
  }
  GdiObject* previous = slot;
  Unselect(slot);
  slot = object;
  ++object->selections;
  return previous;
}

BOOL DeleteObject(HGDIOBJ object) {
  // GDI refuses to delete an object that a context still uses; so do we, which keeps the
  // context from drawing on freed memory.
  if (!object || object->selections > 0) return FALSE;
  if (object->pixels) SDL_FreeSurface(object->pixels);
  if (object->kind == GdiKind::Font) ForgetRenderedText(object);
  delete object;
  return TRUE;
}

int GetObjectA(HGDIOBJ object, int size, void* out) {
  if (!object || object->kind != GdiKind::Bitmap || !out || size < static_cast<int>(sizeof(BITMAP))) {
    return 0;
  }
  const SDL_Surface* pixels = object->pixels;
  BITMAP bitmap;
  bitmap.bmWidth = pixels->w;
  bitmap.bmHeight = pixels->h;
  bitmap.bmWidthBytes = pixels->pitch;
  bitmap.bmPlanes = 1;
  bitmap.bmBitsPixel = pixels->format->BitsPerPixel;
  bitmap.bmBits = pixels->pixels;
  std::memcpy(out, &bitmap, sizeof bitmap);
  return static_cast<int>(sizeof bitmap);
}

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX,
                int sourceY, int sourceWidth, int sourceHeight, DWORD rasterOperation) {
  if (!dest || !source || !dest->target || !source->target || rasterOperation != SRCCOPY) {
    return FALSE;
  }
  if (width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0) return FALSE;
  const SDL_Rect from{sourceX, sourceY, sourceWidth, sourceHeight};
  const SDL_Rect to{x, y, width, height};
  return CopyPicture(source->target, from, dest->target, to) ? TRUE : FALSE;
}

COLORREF GetPixel(HDC dc, int x, int y) {
  if (!dc || !PixelInside(dc->target, x, y)) return CLR_INVALID;
  MakeWaitingCopy(dc->target);
  return ColorOfRawPixel(dc->target, ReadRawPixel(dc->target, x, y));
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
  if (!dc || !PixelInside(dc->target, x, y)) return CLR_INVALID;
  MakeWaitingCopy(dc->target);
  SDL_Surface* target = dc->target;
  const uint32_t raw = SDL_MapRGB(target->format, static_cast<Uint8>(color & 0xFF),
                                  static_cast<Uint8>((color >> 8) & 0xFF),
                                  static_cast<Uint8>((color >> 16) & 0xFF));
  WriteRawPixel(target, x, y, raw);
  return ColorOfRawPixel(target, raw);
}
