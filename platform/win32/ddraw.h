// The DirectDraw 7 the game calls: a display object, a primary surface flipping with one back
// buffer, off-screen surfaces, blits, colour keys, locks and device contexts. Pixels live in
// memory (SDL surfaces) and all drawing is software; a flip hands the frame to the presenter.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/win32/gdi.h"
#include "platform/win32/guiddef.h"

using ULONG = uint32_t;

struct SDL_Surface;

struct RECT {
  LONG left = 0;
  LONG top = 0;
  LONG right = 0;
  LONG bottom = 0;
};

using IID = GUID;
extern const IID IID_IDirectDraw7;

// Results.
constexpr HRESULT DD_OK = 0;
constexpr HRESULT DDERR_GENERIC = E_FAIL;
constexpr HRESULT DDERR_INVALIDPARAMS = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT DDERR_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT DDERR_UNSUPPORTED = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT DDERR_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT DDERR_INVALIDRECT = static_cast<HRESULT>(0x88760096u);
constexpr HRESULT DDERR_INVALIDMODE = static_cast<HRESULT>(0x88760078u);
constexpr HRESULT DDERR_NOEXCLUSIVEMODE = static_cast<HRESULT>(0x887600E1u);
constexpr HRESULT DDERR_NOTFOUND = static_cast<HRESULT>(0x887600FFu);
constexpr HRESULT DDERR_NOTFLIPPABLE = static_cast<HRESULT>(0x88760246u);
constexpr HRESULT DDERR_SURFACEBUSY = static_cast<HRESULT>(0x887600AEu);
constexpr HRESULT DDERR_DCALREADYCREATED = static_cast<HRESULT>(0x8876026Cu);
constexpr HRESULT DDERR_NOTLOCKED = static_cast<HRESULT>(0x887602E6u);
constexpr HRESULT DDERR_WASSTILLDRAWING = static_cast<HRESULT>(0x8876021Cu);

// Cooperative levels.
constexpr DWORD DDSCL_FULLSCREEN = 0x00000001;
constexpr DWORD DDSCL_ALLOWREBOOT = 0x00000002;
constexpr DWORD DDSCL_NORMAL = 0x00000008;
constexpr DWORD DDSCL_EXCLUSIVE = 0x00000010;
constexpr DWORD DDSCL_ALLOWMODEX = 0x00000040;

// Surface description flags and capabilities.
constexpr DWORD DDSD_CAPS = 0x00000001;
constexpr DWORD DDSD_HEIGHT = 0x00000002;
constexpr DWORD DDSD_WIDTH = 0x00000004;
constexpr DWORD DDSD_PITCH = 0x00000008;
constexpr DWORD DDSD_BACKBUFFERCOUNT = 0x00000020;
constexpr DWORD DDSD_LPSURFACE = 0x00000800;
constexpr DWORD DDSD_PIXELFORMAT = 0x00001000;
constexpr DWORD DDSCAPS_BACKBUFFER = 0x00000004;
constexpr DWORD DDSCAPS_COMPLEX = 0x00000008;
constexpr DWORD DDSCAPS_FLIP = 0x00000010;
constexpr DWORD DDSCAPS_FRONTBUFFER = 0x00000020;
constexpr DWORD DDSCAPS_OFFSCREENPLAIN = 0x00000040;
constexpr DWORD DDSCAPS_PRIMARYSURFACE = 0x00000200;
constexpr DWORD DDSCAPS_SYSTEMMEMORY = 0x00000800;
constexpr DWORD DDPF_RGB = 0x00000040;

// Flip, blits, colour keys, locks.
constexpr DWORD DDFLIP_WAIT = 0x00000001;
constexpr DWORD DDBLT_COLORFILL = 0x00000400;
constexpr DWORD DDBLT_KEYSRC = 0x00008000;
constexpr DWORD DDBLT_WAIT = 0x01000000;
constexpr DWORD DDBLTFAST_NOCOLORKEY = 0x00000000;
constexpr DWORD DDBLTFAST_SRCCOLORKEY = 0x00000001;
constexpr DWORD DDBLTFAST_WAIT = 0x00000010;
constexpr DWORD DDCKEY_DESTBLT = 0x00000002;
constexpr DWORD DDCKEY_SRCBLT = 0x00000008;
constexpr DWORD DDLOCK_WAIT = 0x00000001;

struct DDCOLORKEY {
  DWORD dwColorSpaceLowValue = 0;
  DWORD dwColorSpaceHighValue = 0;
};

struct DDSCAPS2 {
  DWORD dwCaps = 0;
  DWORD dwCaps2 = 0;
  DWORD dwCaps3 = 0;
  DWORD dwCaps4 = 0;
};

struct DDPIXELFORMAT {
  DWORD dwSize = 0;
  DWORD dwFlags = 0;
  DWORD dwFourCC = 0;
  DWORD dwRGBBitCount = 0;
  DWORD dwRBitMask = 0;
  DWORD dwGBitMask = 0;
  DWORD dwBBitMask = 0;
  DWORD dwRGBAlphaBitMask = 0;
};

struct DDSURFACEDESC2 {
  DWORD dwSize = 0;
  DWORD dwFlags = 0;
  DWORD dwHeight = 0;
  DWORD dwWidth = 0;
  LONG lPitch = 0;
  DWORD dwBackBufferCount = 0;
  void* lpSurface = nullptr;
  DDCOLORKEY ddckCKDestBlt;
  DDCOLORKEY ddckCKSrcBlt;
  DDPIXELFORMAT ddpfPixelFormat;
  DDSCAPS2 ddsCaps;
};

struct DDBLTFX {
  DWORD dwSize = 0;
  DWORD dwFillColor = 0;
  DDCOLORKEY ddckDestColorkey;
  DDCOLORKEY ddckSrcColorkey;
};

struct IDirectDrawSurface7 {
  HRESULT Blt(RECT* destRect, IDirectDrawSurface7* source, RECT* sourceRect, DWORD flags,
              DDBLTFX* fx);
  HRESULT BltFast(DWORD x, DWORD y, IDirectDrawSurface7* source, RECT* sourceRect,
                  DWORD transfer);
  HRESULT Flip(IDirectDrawSurface7* target, DWORD flags);
  HRESULT GetAttachedSurface(DDSCAPS2* caps, IDirectDrawSurface7** attached);
  HRESULT SetColorKey(DWORD flags, DDCOLORKEY* key);
  HRESULT Lock(RECT* rect, DDSURFACEDESC2* desc, DWORD flags, HANDLE event);
  HRESULT Unlock(RECT* rect);
  HRESULT GetDC(HDC* dc);
  HRESULT ReleaseDC(HDC dc);
  HRESULT GetSurfaceDesc(DDSURFACEDESC2* desc);
  HRESULT Restore();
  ULONG AddRef();
  ULONG Release();

  SDL_Surface* pixels = nullptr;
  unsigned char* memory = nullptr;  // the pixels' storage, with slack after the last row
  DWORD caps = 0;
  IDirectDrawSurface7* backBuffer = nullptr;  // a flipping primary's attached surface
  bool hasSourceKey = false;
  bool hasDestKey = false;
  DDCOLORKEY sourceKey;
  DDCOLORKEY destKey;
  bool locked = false;
  HDC dc = nullptr;
  ULONG references = 1;
};

struct IDirectDraw7 {
  HRESULT SetCooperativeLevel(HWND window, DWORD flags);
  HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate,
                         DWORD flags);
  HRESULT CreateSurface(DDSURFACEDESC2* desc, IDirectDrawSurface7** surface, void* outer);
  ULONG Release();

  uint32_t pixelFormat = 0;  // the SDL format of the display mode's surfaces
  DWORD cooperativeLevel = 0;
  bool presenterOpen = false;
  ULONG references = 1;
};

HRESULT DirectDrawCreateEx(GUID* driver, IDirectDraw7** directDraw, const IID& iid,
                           void* outer);

// Every display mode asked for, in order, with whether it was granted.
struct DisplayModeRequest {
  DWORD width = 0;
  DWORD height = 0;
  DWORD bitsPerPixel = 0;
  bool granted = false;
};
const std::vector<DisplayModeRequest>& DisplayModeRequests();
