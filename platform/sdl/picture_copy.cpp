#include "platform/sdl/picture_copy.h"

#include <SDL.h>

#include <map>

#include "platform/seams/headless.h"

namespace {

struct WaitingCopy {
  SDL_Surface* source;  // a reference of its own, let go once copied
  SDL_Rect from;
  SDL_Rect to;
};
std::map<SDL_Surface*, WaitingCopy> waiting;

// A whole picture of the target's size, in a format of whole pixels: converted straight into
// the target, by the same conversion SDL_ConvertSurface makes, without a picture in between.
bool ConvertWhole(SDL_Surface* source, const SDL_Rect& from, SDL_Surface* target,
                  const SDL_Rect& to) {
  const bool whole = from.x == 0 && from.y == 0 && to.x == 0 && to.y == 0 && from.w == source->w &&
                     from.h == source->h && to.w == target->w && to.h == target->h &&
                     from.w == to.w && from.h == to.h;
  if (!whole || SDL_ISPIXELFORMAT_INDEXED(source->format->format) ||
      SDL_ISPIXELFORMAT_INDEXED(target->format->format) || SDL_MUSTLOCK(source) ||
      SDL_MUSTLOCK(target)) {
    return false;
  }
  return SDL_ConvertPixels(source->w, source->h, source->format->format, source->pixels,
                           source->pitch, target->format->format, target->pixels,
                           target->pitch) == 0;
}

bool CopyNow(SDL_Surface* source, SDL_Rect from, SDL_Surface* target, SDL_Rect to) {
  if (ConvertWhole(source, from, target, to)) return true;
  // Convert first, so that the stretch runs between equal formats and every bitmap depth,
  // palettes included, arrives in the target's format.
  SDL_Surface* converted = SDL_ConvertSurface(source, target->format, 0);
  if (!converted) return false;
  SDL_SetSurfaceBlendMode(converted, SDL_BLENDMODE_NONE);
  const bool sameSize = from.w == to.w && from.h == to.h;
  const int result = sameSize ? SDL_BlitSurface(converted, &from, target, &to)
                              : SDL_BlitScaled(converted, &from, target, &to);
  SDL_FreeSurface(converted);
  return result == 0;
}

}  // namespace

bool CopyPicture(SDL_Surface* source, const SDL_Rect& from, SDL_Surface* target,
                 const SDL_Rect& to) {
  MakeWaitingCopy(source);
  MakeWaitingCopy(target);
  const bool whole = to.x == 0 && to.y == 0 && to.w == target->w && to.h == target->h;
  if (!HeadlessRulesOnly() || !whole) return CopyNow(source, from, target, to);
  ++source->refcount;
  waiting[target] = WaitingCopy{source, from, to};
  return true;
}

void MakeWaitingCopy(SDL_Surface* target) {
  const auto found = waiting.find(target);
  if (found == waiting.end()) return;
  const WaitingCopy copy = found->second;
  waiting.erase(found);
  CopyNow(copy.source, copy.from, target, copy.to);
  SDL_FreeSurface(copy.source);
}

void ForgetWaitingCopy(SDL_Surface* target) {
  const auto found = waiting.find(target);
  if (found == waiting.end()) return;
  SDL_FreeSurface(found->second.source);
  waiting.erase(found);
}
