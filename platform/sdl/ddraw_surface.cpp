// DirectDraw surfaces: flip, attached back buffer, colour keys, locks, device contexts.
#include <SDL.h>

#include <utility>

#include "platform/sdl/ddraw_surface_memory.h"
#include "platform/sdl/gdi_objects.h"
#include "platform/sdl/picture_copy.h"
#include "platform/sdl/presenter.h"
#include "platform/seams/headless.h"
#include "platform/win32/ddraw.h"

namespace {

bool Busy(const IDirectDrawSurface7* surface) { return surface->locked || surface->dc; }

void DescribePixelFormat(const SDL_Surface* pixels, DDPIXELFORMAT* format) {
  *format = DDPIXELFORMAT{};
  format->dwSize = sizeof(DDPIXELFORMAT);
  format->dwFlags = DDPF_RGB;
  format->dwRGBBitCount = pixels->format->BitsPerPixel;
  format->dwRBitMask = pixels->format->Rmask;
  format->dwGBitMask = pixels->format->Gmask;
  format->dwBBitMask = pixels->format->Bmask;
}

void Describe(const IDirectDrawSurface7* surface, DDSURFACEDESC2* desc) {
  desc->dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT;
  desc->dwWidth = static_cast<DWORD>(surface->pixels->w);
  desc->dwHeight = static_cast<DWORD>(surface->pixels->h);
  desc->lPitch = surface->pixels->pitch;
  desc->ddsCaps = DDSCAPS2{};
  desc->ddsCaps.dwCaps = surface->caps;
  desc->ddckCKSrcBlt = surface->sourceKey;
  desc->ddckCKDestBlt = surface->destKey;
  DescribePixelFormat(surface->pixels, &desc->ddpfPixelFormat);
}

}  // namespace

HRESULT IDirectDrawSurface7::Flip(IDirectDrawSurface7* target, DWORD) {
  if (!backBuffer) return DDERR_NOTFLIPPABLE;
  if (target && target != backBuffer) return DDERR_INVALIDPARAMS;
  if (Busy(this) || Busy(backBuffer)) return DDERR_SURFACEBUSY;
  // The back buffer's pixels become the visible page and the old page becomes the back buffer.
  std::swap(pixels, backBuffer->pixels);
  std::swap(memory, backBuffer->memory);
  PresentFrame(pixels);
  return DD_OK;
}

HRESULT IDirectDrawSurface7::Lock(RECT* rect, DDSURFACEDESC2* desc, DWORD, HANDLE) {
  if (!desc) return DDERR_INVALIDPARAMS;
  if (HeadlessStepFails("Lock")) return DDERR_GENERIC;
  if (Busy(this)) return DDERR_SURFACEBUSY;
  MakeWaitingCopy(pixels);
  auto* first = static_cast<unsigned char*>(pixels->pixels);
  if (rect) {
    if (rect->left < 0 || rect->top < 0 || rect->left >= rect->right ||
        rect->top >= rect->bottom || rect->right > pixels->w || rect->bottom > pixels->h) {
      return DDERR_INVALIDRECT;
    }
    first += static_cast<ptrdiff_t>(rect->top) * pixels->pitch +
             static_cast<ptrdiff_t>(rect->left) * pixels->format->BytesPerPixel;
  }
  Describe(this, desc);
  desc->dwFlags |= DDSD_LPSURFACE;
  desc->lpSurface = first;
  locked = true;
  return DD_OK;
}

HRESULT IDirectDrawSurface7::GetDC(HDC* out) {
  if (!out) return DDERR_INVALIDPARAMS;
  *out = nullptr;
  if (HeadlessStepFails("GetDC")) return DDERR_GENERIC;
  if (dc) return DDERR_DCALREADYCREATED;
  if (locked) return DDERR_SURFACEBUSY;
  dc = CreateSurfaceDC(pixels);
  *out = dc;
  return DD_OK;
}

HRESULT IDirectDrawSurface7::ReleaseDC(HDC released) {
  if (!dc || released != dc) return DDERR_INVALIDPARAMS;
  DeleteSurfaceDC(dc);
  dc = nullptr;
  return DD_OK;
}

HRESULT IDirectDrawSurface7::GetSurfaceDesc(DDSURFACEDESC2* desc) {
  if (!desc) return DDERR_INVALIDPARAMS;
  Describe(this, desc);
  return DD_OK;
}

ULONG IDirectDrawSurface7::Release() {
  if (--references > 0) return references;
  if (backBuffer) backBuffer->Release();
  DeleteSurfaceDC(dc);
  FreeSurfacePixels(this);
  delete this;
  return 0;
}
