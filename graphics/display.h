// The 640 x 480 display: the DirectDraw object, the flipping chain, and its bring-up and
// teardown. The tables of loaded pictures come with it.
#pragma once

#include <cstdint>

#include "graphics/cursor_images.h"
#include "graphics/image_slots.h"
#include "platform/win32/ddraw.h"

struct DisplayRecord {
  IDirectDraw7* directDraw = nullptr;
  IDirectDrawSurface7* primary = nullptr;
  IDirectDrawSurface7* backBuffer = nullptr;
  int32_t desktopWidth = 0;
  int32_t desktopHeight = 0;
  DDSURFACEDESC2 surfaceDesc;  // shared: creates the primary, then describes every pixel lock
  DDSCAPS2 backBufferCaps;
};
extern DisplayRecord Display;

// Nothing on success, else the message of the step that failed.
const char* OpenDisplay();
void CloseDisplay();
void FlipPage();
