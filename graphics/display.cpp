#include "graphics/display.h"

#include "globals/main_window.h"

DisplayRecord Display;

namespace {

constexpr DWORD kCooperativeFlags =
    DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_EXCLUSIVE | DDSCL_ALLOWMODEX;

}  // namespace

const char* OpenDisplay() {
  if (DirectDrawCreateEx(nullptr, &Display.directDraw, IID_IDirectDraw7, nullptr) != DD_OK) {
    return "Unable to Init DirectDraw";
  }
  if (Display.directDraw->SetCooperativeLevel(MainWindow, kCooperativeFlags) != DD_OK) {
    return "Unable to Set Coorporation Level";
  }
  if (Display.directDraw->SetDisplayMode(640, 480, 32, 0, 0) != DD_OK &&
      Display.directDraw->SetDisplayMode(640, 480, 24, 0, 0) != DD_OK) {
    return "Unable to set Display Mode";
  }
  Display.surfaceDesc = DDSURFACEDESC2{};
  Display.surfaceDesc.dwSize = sizeof(DDSURFACEDESC2);
  Display.surfaceDesc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
  Display.surfaceDesc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
  Display.surfaceDesc.dwBackBufferCount = 1;
  if (Display.directDraw->CreateSurface(&Display.surfaceDesc, &Display.primary, nullptr) !=
      DD_OK) {
    return "Unable to create Primary Surface";
  }
  Display.backBufferCaps.dwCaps = DDSCAPS_BACKBUFFER;
  if (Display.primary->GetAttachedSurface(&Display.backBufferCaps, &Display.backBuffer) !=
      DD_OK) {
    return "Unable to create BackBuffer";
  }
  return nullptr;
}

void FlipPage() {
  if (Display.primary) Display.primary->Flip(nullptr, DDFLIP_WAIT);
}

void CloseDisplay() {
  if (Display.backBuffer) {
    Display.backBuffer->Release();
    Display.backBuffer = nullptr;
  }
  if (Display.primary) {
    Display.primary->Release();
    Display.primary = nullptr;
  }
  for (int number = 0; number < kImageSlotCount; ++number) ReleaseImageSlot(number);
  // Always 32 bits per pixel, whatever depth the game ran in.
  if (Display.directDraw) {
    Display.directDraw->SetDisplayMode(static_cast<DWORD>(Display.desktopWidth),
                                       static_cast<DWORD>(Display.desktopHeight), 32, 0, 0);
    Display.directDraw->Release();
    Display.directDraw = nullptr;
  }
}
