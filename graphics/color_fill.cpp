#include "graphics/color_fill.h"

DDBLTFX FillFx;

HRESULT ColorFill(int left, int top, int right, int bottom, DWORD color,
                  IDirectDrawSurface7* target) {
  if (!target) return DDERR_INVALIDPARAMS;
  FillFx = DDBLTFX{};
  FillFx.dwSize = sizeof FillFx;
  FillFx.dwFillColor = color;
  RECT area{left, top, right, bottom};
  return target->Blt(&area, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &FillFx);
}
