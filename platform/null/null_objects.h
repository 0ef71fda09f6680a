// What stands behind the handles of the null platform: sizes, and pixels only where the rules
// look at them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/files/bitmap_pixels.h"
#include "platform/win32/ddraw.h"
#include "platform/win32/gdi.h"

// Memory of at least `bytes` that nothing of the rules reads: a sound's samples, the pixels of
// a surface no picture the rules read was copied into. Every caller gets the same, reused.
void* ScratchMemory(size_t bytes);

// A surface: its size, and its own pixels once a picture the rules read is copied into it.
// Every other surface's pixels are never looked at by the rules: they lend the scratch memory.
struct NullSurface : IDirectDrawSurface7 {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> own;

  uint32_t* Pixels();
};

enum class GdiKind { Bitmap, Font };

struct GdiObject {
  GdiKind kind = GdiKind::Bitmap;
  std::shared_ptr<const BitmapPicture> picture;  // a bitmap's size, and pixels when read whole
  int selections = 0;                            // device contexts the object is selected into
};

struct DeviceContext {
  NullSurface* surface = nullptr;  // handed out by this surface's GetDC
  GdiObject* bitmap = nullptr;     // selected into a memory context
  GdiObject* font = nullptr;
};

// A context that draws on a surface; the surface's GetDC and ReleaseDC use these.
HDC CreateSurfaceDC(NullSurface* surface);
void DeleteSurfaceDC(HDC dc);
