#include "graphics/cursor_images.h"

#include "graphics/bitmap_surface.h"
#include "graphics/color_key.h"
#include "graphics/display.h"

CursorImagesRecord CursorImages;

void LoadCursorImage(int index, const char* path) {
  if (index < 0 || index > 2) return;
  ReleaseCursorImage(index);
  CursorImages.images[index] = LoadBitmapSurface(Display.directDraw, path, 0, 0);
  CursorImages.width = LastBitmapWidth;
  CursorImages.height = LastBitmapHeight;
  if (CursorImages.height == 167) CursorImages.height = 77;
  CursorImages.limitX = 640 - CursorImages.width;
  CursorImages.limitY = 480 - CursorImages.height;
  if (CursorImages.images[index]) SetSurfaceColorKey(CursorImages.images[index], 0);
}

void ReleaseCursorImage(int index) {
  if (index < 0 || index > 2 || !CursorImages.images[index]) return;
  CursorImages.images[index]->Release();
  CursorImages.images[index] = nullptr;
}
