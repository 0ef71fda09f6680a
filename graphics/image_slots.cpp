#include "graphics/image_slots.h"

#include "globals/image_numbers.h"
#include "graphics/bitmap_surface.h"
#include "graphics/color_key.h"
#include "graphics/display.h"

IDirectDrawSurface7* ImageSlots[kImageSlotCount] = {};

void ReleaseImageSlot(int number) {
  if (number < 0 || number >= kImageSlotCount || !ImageSlots[number]) return;
  ImageSlots[number]->Release();
  ImageSlots[number] = nullptr;
}

void LoadImageSlot(int number, const char* path) {
  if (number < 0 || number >= kImageSlotCount) return;
  ReleaseImageSlot(number);
  ImageSlots[number] = LoadBitmapSurface(Display.directDraw, path, 0, 0);
  if (ImageSlots[number]) SetSurfaceColorKey(ImageSlots[number], 0);
}

void LoadBackground(const char* path) {
  ReleaseImageSlot(0);
  ImageSlots[kBackgroundImage] = LoadBitmapSurface(Display.directDraw, path, 0, 0);
}
