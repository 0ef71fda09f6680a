#include "graphics/blits.h"

#include "graphics/display.h"

void DrawFullScreen(IDirectDrawSurface7* picture) {
  if (!picture || !Display.backBuffer) return;
  Display.backBuffer->Blt(nullptr, picture, nullptr, DDBLT_WAIT, nullptr);
}

void DrawOpaque(IDirectDrawSurface7* target, int x, int y, IDirectDrawSurface7* picture) {
  if (!target || !picture) return;
  target->BltFast(x, y, picture, nullptr, DDBLTFAST_WAIT);
}

void DrawSprite(IDirectDrawSurface7* target, int x, int y, IDirectDrawSurface7* picture) {
  if (!target || !picture) return;
  target->BltFast(x, y, picture, nullptr, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT);
}

void DrawCentered(IDirectDrawSurface7* target, IDirectDrawSurface7* picture) {
  if (!picture) return;
  DrawSprite(target, CenterOffsetX(picture), CenterOffsetY(picture), picture);
}

namespace {

// An empty picture measures 0 x 0, so it "stands" at the screen's middle (320, 240); it is
// never drawn, the position only has to be harmless.
DDSURFACEDESC2 SizeOf(IDirectDrawSurface7* picture) {
  DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof desc;
  if (picture) picture->GetSurfaceDesc(&desc);
  return desc;
}

}  // namespace

// Unsigned arithmetic: a picture wider than the screen lands far right and is refused.
int CenterOffsetX(IDirectDrawSurface7* picture) {
  return static_cast<int>((640u - SizeOf(picture).dwWidth) >> 1);
}

int CenterOffsetY(IDirectDrawSurface7* picture) {
  return static_cast<int>((480u - SizeOf(picture).dwHeight) >> 1);
}
