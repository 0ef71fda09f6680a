// DirectDraw with nothing to show: a 640 x 480 display at 32 bits per pixel whose surfaces
// have sizes, locks and device contexts, whose blits and fills draw nothing (the game reads no
// blit's result), and whose flips pace the virtual clock as a 60 Hz display.
#include <cstring>

#include "platform/null/null_objects.h"
#include "platform/seams/first_flip_mark.h"
#include "platform/seams/headless.h"

const IID IID_IDirectDraw7 = {0x15e65ec0, 0x3b9c, 0x11d2, {0xb9, 0x2f, 0x00, 0x60, 0x97, 0x97, 0xea, 0x5b}};

namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;

std::vector<DisplayModeRequest>& ModeRequests() {
  static std::vector<DisplayModeRequest> requests;
  return requests;
}

NullSurface* Null(IDirectDrawSurface7* surface) { return static_cast<NullSurface*>(surface); }

bool Busy(const IDirectDrawSurface7* surface) { return surface->locked || surface->dc; }

NullSurface* NewSurface(int width, int height, DWORD caps) {
  auto* surface = new NullSurface;
  surface->width = width;
  surface->height = height;
  surface->caps = caps;
  return surface;
}

void Describe(IDirectDrawSurface7* surface, DDSURFACEDESC2* desc) {
  const NullSurface* null = Null(surface);
  desc->dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT;
  desc->dwWidth = static_cast<DWORD>(null->width);
  desc->dwHeight = static_cast<DWORD>(null->height);
  desc->lPitch = null->width * 4;
  desc->ddsCaps = DDSCAPS2{};
  desc->ddsCaps.dwCaps = surface->caps;
  desc->ddckCKSrcBlt = surface->sourceKey;
  desc->ddckCKDestBlt = surface->destKey;
  desc->ddpfPixelFormat = DDPIXELFORMAT{sizeof(DDPIXELFORMAT), DDPF_RGB, 0, 32,
                                        0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0};
}

}  // namespace

uint32_t* NullSurface::Pixels() {
  if (!own.empty()) return own.data();
  const size_t words = static_cast<size_t>(width) * static_cast<size_t>(height);
  return static_cast<uint32_t*>(ScratchMemory(words * sizeof(uint32_t)));
}

HRESULT DirectDrawCreateEx(GUID*, IDirectDraw7** directDraw, const IID& iid, void* outer) {
  if (!directDraw) return DDERR_INVALIDPARAMS;
  *directDraw = nullptr;
  if (outer) return DDERR_INVALIDPARAMS;
  if (std::memcmp(&iid, &IID_IDirectDraw7, sizeof(IID)) != 0) return DDERR_NOINTERFACE;
  *directDraw = new IDirectDraw7;
  return DD_OK;
}

HRESULT IDirectDraw7::SetCooperativeLevel(HWND window, DWORD flags) {
  if ((flags & DDSCL_EXCLUSIVE) && !window) return DDERR_INVALIDPARAMS;
  if (!presenterOpen) ArmFirstFlipMark();
  presenterOpen = true;
  cooperativeLevel = flags;
  return DD_OK;
}

// Only the game's own mode has pixels of its own depth; any other (the desktop given back) is
// granted and changes nothing.
HRESULT IDirectDraw7::SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD, DWORD) {
  const bool game = width == kScreenWidth && height == kScreenHeight;
  const HRESULT result = game && bitsPerPixel != 32 ? DDERR_INVALIDMODE : DD_OK;
  ModeRequests().push_back({width, height, bitsPerPixel, result == DD_OK});
  return result;
}

HRESULT IDirectDraw7::CreateSurface(DDSURFACEDESC2* desc, IDirectDrawSurface7** surface,
                                    void* outer) {
  if (!desc || !surface || outer) return DDERR_INVALIDPARAMS;
  *surface = nullptr;
  const DWORD caps = (desc->dwFlags & DDSD_CAPS) ? desc->ddsCaps.dwCaps : 0;
  if (caps & DDSCAPS_PRIMARYSURFACE) {
    const bool flipping = (caps & DDSCAPS_FLIP) != 0;
    const DWORD backBuffers = (desc->dwFlags & DDSD_BACKBUFFERCOUNT) ? desc->dwBackBufferCount : 0;
    if (flipping != (backBuffers == 1) || backBuffers > 1) return DDERR_INVALIDPARAMS;
    if (flipping && !(cooperativeLevel & DDSCL_EXCLUSIVE)) return DDERR_NOEXCLUSIVEMODE;
    NullSurface* primary = NewSurface(kScreenWidth, kScreenHeight, caps | DDSCAPS_FRONTBUFFER);
    if (flipping) {
      primary->backBuffer = NewSurface(kScreenWidth, kScreenHeight,
                                       DDSCAPS_BACKBUFFER | DDSCAPS_FLIP | DDSCAPS_COMPLEX);
    }
    *surface = primary;
    return DD_OK;
  }
  const DWORD sizeFlags = DDSD_WIDTH | DDSD_HEIGHT;
  if ((desc->dwFlags & sizeFlags) != sizeFlags || desc->dwWidth == 0 || desc->dwHeight == 0) {
    return DDERR_INVALIDPARAMS;
  }
  *surface = NewSurface(static_cast<int>(desc->dwWidth), static_cast<int>(desc->dwHeight),
                        DDSCAPS_OFFSCREENPLAIN);
  return DD_OK;
}

ULONG IDirectDraw7::Release() {
  if (--references > 0) return references;
  if (presenterOpen) HeadlessFlipPacingReset();
  delete this;
  return 0;
}

const std::vector<DisplayModeRequest>& DisplayModeRequests() { return ModeRequests(); }

HRESULT IDirectDrawSurface7::Blt(RECT*, IDirectDrawSurface7* source, RECT*, DWORD flags,
                                 DDBLTFX* fx) {
  if ((flags & DDBLT_COLORFILL) ? !fx : !source) return DDERR_INVALIDPARAMS;
  return DD_OK;
}

HRESULT IDirectDrawSurface7::BltFast(DWORD, DWORD, IDirectDrawSurface7* source, RECT*, DWORD) {
  return source ? DD_OK : DDERR_INVALIDPARAMS;
}

HRESULT IDirectDrawSurface7::Flip(IDirectDrawSurface7* target, DWORD) {
  if (!backBuffer) return DDERR_NOTFLIPPABLE;
  if (target && target != backBuffer) return DDERR_INVALIDPARAMS;
  if (Busy(this) || Busy(backBuffer)) return DDERR_SURFACEBUSY;
  HeadlessPresentFlip();
  return DD_OK;
}

HRESULT IDirectDrawSurface7::Lock(RECT* rect, DDSURFACEDESC2* desc, DWORD, HANDLE) {
  if (!desc) return DDERR_INVALIDPARAMS;
  if (Busy(this)) return DDERR_SURFACEBUSY;
  NullSurface* null = Null(this);
  uint32_t* first = null->Pixels();
  if (!first) return DDERR_OUTOFMEMORY;
  if (rect) {
    if (rect->left < 0 || rect->top < 0 || rect->left >= rect->right ||
        rect->top >= rect->bottom || rect->right > null->width || rect->bottom > null->height) {
      return DDERR_INVALIDRECT;
    }
    first += static_cast<ptrdiff_t>(rect->top) * null->width + rect->left;
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
  if (dc) return DDERR_DCALREADYCREATED;
  if (locked) return DDERR_SURFACEBUSY;
  dc = CreateSurfaceDC(Null(this));
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
  delete Null(this);
  return 0;
}
