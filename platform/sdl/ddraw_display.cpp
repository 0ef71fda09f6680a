// The DirectDraw object: cooperative level, display mode and surface creation.
#include <SDL.h>

#include <cstring>

#include "platform/win32/ddraw.h"
#include "platform/sdl/ddraw_surface_memory.h"
#include "platform/seams/headless.h"
#include "platform/sdl/presenter.h"

const IID IID_IDirectDraw7 = {0x15e65ec0, 0x3b9c, 0x11d2, {0xb9, 0x2f, 0x00, 0x60, 0x97, 0x97, 0xea, 0x5b}};

namespace {

std::vector<DisplayModeRequest>& ModeRequests() {
  static std::vector<DisplayModeRequest> requests;
  return requests;
}

bool SameIid(const IID& a, const IID& b) { return std::memcmp(&a, &b, sizeof(IID)) == 0; }

HRESULT CreatePrimary(IDirectDraw7* directDraw, const DDSURFACEDESC2& desc,
                      IDirectDrawSurface7** surface) {
  if (HeadlessStepFails("CreatePrimarySurface")) return DDERR_GENERIC;
  const bool flipping = (desc.ddsCaps.dwCaps & DDSCAPS_FLIP) != 0;
  const DWORD backBuffers = (desc.dwFlags & DDSD_BACKBUFFERCOUNT) ? desc.dwBackBufferCount : 0;
  // One back buffer is all a flipping chain here has.
  if (flipping != (backBuffers == 1) || backBuffers > 1) return DDERR_INVALIDPARAMS;
  if (flipping && !(directDraw->cooperativeLevel & DDSCL_EXCLUSIVE)) return DDERR_NOEXCLUSIVEMODE;
  IDirectDrawSurface7* primary =
      NewSurface(kScreenWidth, kScreenHeight, directDraw->pixelFormat,
                 desc.ddsCaps.dwCaps | DDSCAPS_FRONTBUFFER);
  if (!primary) return DDERR_OUTOFMEMORY;
  if (flipping) {
    primary->backBuffer = NewSurface(kScreenWidth, kScreenHeight, directDraw->pixelFormat,
                                     DDSCAPS_BACKBUFFER | DDSCAPS_FLIP | DDSCAPS_COMPLEX);
    if (!primary->backBuffer) {
      primary->Release();
      return DDERR_OUTOFMEMORY;
    }
  }
  *surface = primary;
  return DD_OK;
}

HRESULT CreateOffscreen(IDirectDraw7* directDraw, const DDSURFACEDESC2& desc,
                        IDirectDrawSurface7** surface) {
  if (HeadlessStepFails("CreateOffscreenSurface")) return DDERR_GENERIC;
  const DWORD sizeFlags = DDSD_WIDTH | DDSD_HEIGHT;
  if ((desc.dwFlags & sizeFlags) != sizeFlags) return DDERR_INVALIDPARAMS;
  if (desc.dwWidth == 0 || desc.dwHeight == 0) return DDERR_INVALIDPARAMS;
  *surface = NewSurface(static_cast<int>(desc.dwWidth), static_cast<int>(desc.dwHeight),
                        directDraw->pixelFormat, DDSCAPS_OFFSCREENPLAIN);
  return *surface ? DD_OK : DDERR_OUTOFMEMORY;
}

}  // namespace

HRESULT DirectDrawCreateEx(GUID*, IDirectDraw7** directDraw, const IID& iid, void* outer) {
  if (!directDraw) return DDERR_INVALIDPARAMS;
  *directDraw = nullptr;
  if (outer) return DDERR_INVALIDPARAMS;
  if (!SameIid(iid, IID_IDirectDraw7)) return DDERR_NOINTERFACE;
  if (HeadlessStepFails("DirectDrawCreateEx")) return DDERR_GENERIC;
  *directDraw = new IDirectDraw7;
  // Until a mode is set the display is the desktop, taken at 32 bits per pixel.
  (*directDraw)->pixelFormat = SDL_PIXELFORMAT_RGB888;
  return DD_OK;
}

HRESULT IDirectDraw7::SetCooperativeLevel(HWND window, DWORD flags) {
  if (HeadlessStepFails("SetCooperativeLevel")) return DDERR_GENERIC;
  if ((flags & DDSCL_EXCLUSIVE) && !window) return DDERR_INVALIDPARAMS;
  if (!presenterOpen) {
    if (!PresenterOpen()) return DDERR_GENERIC;
    presenterOpen = true;
  }
  cooperativeLevel = flags;
  return DD_OK;
}

// 640 x 480 at 32 or 24 bits per pixel are the modes the game plays in. Any other mode (the
// desktop given back at shutdown) is noted and granted but never touches the monitor: the
// game's picture is scaled onto the desktop instead.
HRESULT IDirectDraw7::SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD,
                                     DWORD) {
  DisplayModeRequest request{width, height, bitsPerPixel, false};
  HRESULT result = DD_OK;
  if (width == kScreenWidth && height == kScreenHeight) {
    if (bitsPerPixel == 32 && !HeadlessStepFails("SetDisplayMode32")) {
      pixelFormat = SDL_PIXELFORMAT_RGB888;
    } else if (bitsPerPixel == 24 && !HeadlessStepFails("SetDisplayMode24")) {
      // Bytes blue, green, red: a 32-bit word read at a pixel holds 0x..RRGGBB.
      pixelFormat = SDL_PIXELFORMAT_BGR24;
    } else {
      result = DDERR_INVALIDMODE;
    }
  }
  request.granted = result == DD_OK;
  ModeRequests().push_back(request);
  return result;
}

HRESULT IDirectDraw7::CreateSurface(DDSURFACEDESC2* desc, IDirectDrawSurface7** surface,
                                    void* outer) {
  if (!desc || !surface || outer) return DDERR_INVALIDPARAMS;
  *surface = nullptr;
  if (!(desc->dwFlags & DDSD_CAPS)) return CreateOffscreen(this, *desc, surface);
  if (desc->ddsCaps.dwCaps & DDSCAPS_PRIMARYSURFACE) return CreatePrimary(this, *desc, surface);
  return CreateOffscreen(this, *desc, surface);
}

ULONG IDirectDraw7::Release() {
  if (--references > 0) return references;
  // Surfaces keep their own pixels, so one released after its DirectDraw object is still
  // released safely.
  if (presenterOpen) PresenterClose();
  delete this;
  return 0;
}

const std::vector<DisplayModeRequest>& DisplayModeRequests() { return ModeRequests(); }
