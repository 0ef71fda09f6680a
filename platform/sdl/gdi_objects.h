// What stands behind the GDI handles, for the platform layer only.
#pragma once

#include "platform/win32/gdi.h"

struct SDL_Surface;
typedef struct _TTF_Font TTF_Font;

enum class GdiKind { Bitmap, Font };

struct GdiObject {
  GdiKind kind = GdiKind::Bitmap;
  SDL_Surface* pixels = nullptr;  // a bitmap's picture
  TTF_Font* font = nullptr;       // a font's face at the size that gives the asked height
  int selections = 0;             // device contexts the object is selected into
};

struct DeviceContext {
  SDL_Surface* target = nullptr;  // what drawing reaches: a surface's pixels or a bitmap
  bool ownedBySurface = false;    // handed out by a surface's GetDC
  GdiObject* bitmap = nullptr;    // the bitmap selected into a memory context
  GdiObject* font = nullptr;
  int backgroundMode = OPAQUE;  // recorded only: text is always drawn on a transparent background
  COLORREF textColor = 0;
};

// A context that draws on a surface's pixels; the surface's GetDC and ReleaseDC use these.
HDC CreateSurfaceDC(SDL_Surface* pixels);
void DeleteSurfaceDC(HDC dc);
