// Blt and BltFast over SDL's blitters. With no clipper, a rectangle that reaches past a
// surface's edge is refused and nothing is drawn, as DirectDraw does.
#include <SDL.h>

#include "platform/sdl/keyed_copy.h"
#include "platform/sdl/word_fill.h"
#include "platform/seams/headless.h"
#include "platform/win32/ddraw.h"

namespace {

RECT WholeOf(const SDL_Surface* pixels) { return RECT{0, 0, pixels->w, pixels->h}; }

bool Inside(const RECT& rect, const SDL_Surface* pixels) {
  return rect.left >= 0 && rect.top >= 0 && rect.left < rect.right && rect.top < rect.bottom &&
         rect.right <= pixels->w && rect.bottom <= pixels->h;
}

SDL_Rect ToSdl(const RECT& rect) {
  return SDL_Rect{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

bool Busy(const IDirectDrawSurface7* surface) { return surface->locked || surface->dc; }

// SDL keeps one colour key per surface; switching it rebuilds SDL's blit mapping, so it is
// switched only when a blit wants a different key than the last.
void UseSourceKey(IDirectDrawSurface7* source, bool keyed) {
  const bool wanted = keyed && source->hasSourceKey;
  Uint32 current = 0;
  const bool on = SDL_GetColorKey(source->pixels, &current) == 0;
  if (wanted == on && (!wanted || current == source->sourceKey.dwColorSpaceLowValue)) return;
  SDL_SetColorKey(source->pixels, wanted ? SDL_TRUE : SDL_FALSE,
                  source->sourceKey.dwColorSpaceLowValue);
}

HRESULT Copy(IDirectDrawSurface7* source, const RECT& from, IDirectDrawSurface7* dest,
             const RECT& to, bool keyed) {
  if (HeadlessRulesOnly()) return DD_OK;
  SDL_Rect sdlFrom = ToSdl(from);
  SDL_Rect sdlTo = ToSdl(to);
  const bool sameSize = sdlFrom.w == sdlTo.w && sdlFrom.h == sdlTo.h;
  if (sameSize && keyed && source->hasSourceKey &&
      KeyedCopy32(source->pixels, sdlFrom, dest->pixels, sdlTo.x, sdlTo.y,
                  source->sourceKey.dwColorSpaceLowValue)) {
    return DD_OK;
  }
  SDL_Surface* pixels = source->pixels;
  SDL_Surface* copy = nullptr;
  if (source == dest) {
    // SDL's blitters read and write the same memory in one pass; copy the source first.
    copy = SDL_DuplicateSurface(pixels);
    if (!copy) return DDERR_OUTOFMEMORY;
    SDL_SetSurfaceBlendMode(copy, SDL_BLENDMODE_NONE);
    pixels = copy;
  }
  UseSourceKey(source, keyed);
  if (copy && keyed && source->hasSourceKey) {
    SDL_SetColorKey(copy, SDL_TRUE, source->sourceKey.dwColorSpaceLowValue);
  }
  const int result = sameSize ? SDL_BlitSurface(pixels, &sdlFrom, dest->pixels, &sdlTo)
                              : SDL_BlitScaled(pixels, &sdlFrom, dest->pixels, &sdlTo);
  SDL_FreeSurface(copy);
  return result == 0 ? DD_OK : DDERR_GENERIC;
}

}  // namespace

HRESULT IDirectDrawSurface7::Blt(RECT* destRect, IDirectDrawSurface7* source, RECT* sourceRect,
                                 DWORD flags, DDBLTFX* fx) {
  const RECT to = destRect ? *destRect : WholeOf(pixels);
  if (!Inside(to, pixels)) return DDERR_INVALIDRECT;
  if (Busy(this)) return DDERR_SURFACEBUSY;
  if (flags & DDBLT_COLORFILL) {
    if (!fx) return DDERR_INVALIDPARAMS;
    if (HeadlessRulesOnly()) return DD_OK;
    SDL_Rect area = ToSdl(to);
    if (WordFill(pixels, area, fx->dwFillColor)) return DD_OK;
    return SDL_FillRect(pixels, &area, fx->dwFillColor) == 0 ? DD_OK : DDERR_GENERIC;
  }
  if (!source) return DDERR_INVALIDPARAMS;
  const RECT from = sourceRect ? *sourceRect : WholeOf(source->pixels);
  if (!Inside(from, source->pixels)) return DDERR_INVALIDRECT;
  if (Busy(source)) return DDERR_SURFACEBUSY;
  return Copy(source, from, this, to, (flags & DDBLT_KEYSRC) != 0);
}

HRESULT IDirectDrawSurface7::BltFast(DWORD x, DWORD y, IDirectDrawSurface7* source,
                                     RECT* sourceRect, DWORD transfer) {
  if (!source) return DDERR_INVALIDPARAMS;
  const RECT from = sourceRect ? *sourceRect : WholeOf(source->pixels);
  if (!Inside(from, source->pixels)) return DDERR_INVALIDRECT;
  // Coordinates are unsigned: a position left of or above the surface is far past its edge.
  if (x > static_cast<DWORD>(pixels->w) || y > static_cast<DWORD>(pixels->h)) {
    return DDERR_INVALIDRECT;
  }
  const LONG left = static_cast<LONG>(x);
  const LONG top = static_cast<LONG>(y);
  const RECT to{left, top, left + from.right - from.left, top + from.bottom - from.top};
  if (!Inside(to, pixels)) return DDERR_INVALIDRECT;
  if (Busy(this) || Busy(source)) return DDERR_SURFACEBUSY;
  return Copy(source, from, this, to, (transfer & DDBLTFAST_SRCCOLORKEY) != 0);
}
