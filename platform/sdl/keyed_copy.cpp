#include "platform/sdl/keyed_copy.h"

#include <SDL.h>

#include <cstddef>
#include <cstdint>

namespace {

bool Plain32(const SDL_Surface* surface) {
  return surface->format->BytesPerPixel == 4 && surface->format->Amask == 0;
}

}  // namespace

bool KeyedCopy32(SDL_Surface* source, const SDL_Rect& from, SDL_Surface* dest, int x, int y,
                 unsigned key) {
  if (source == dest || !Plain32(source) || source->format->format != dest->format->format ||
      SDL_MUSTLOCK(source) || SDL_MUSTLOCK(dest)) {
    return false;
  }
  if (from.x < 0 || from.y < 0 || from.w <= 0 || from.h <= 0 || from.x + from.w > source->w ||
      from.y + from.h > source->h || x < 0 || y < 0 || x + from.w > dest->w ||
      y + from.h > dest->h) {
    return false;
  }
  const SDL_PixelFormat* format = source->format;
  // As SDL's keyed blit: the key is compared with the whole word, the unused byte included,
  // and a copied pixel keeps its colour only.
  const uint32_t compared = ~format->Amask;
  const uint32_t colour = format->Rmask | format->Gmask | format->Bmask;
  const uint32_t wanted = key & compared;
  // Locals, so that the stores below cannot be taken to change the bounds.
  const int width = from.w;
  const int height = from.h;
  const auto* inRows = static_cast<const uint8_t*>(source->pixels) +
                       static_cast<ptrdiff_t>(from.y) * source->pitch + from.x * 4;
  auto* outRows =
      static_cast<uint8_t*>(dest->pixels) + static_cast<ptrdiff_t>(y) * dest->pitch + x * 4;
  const int inPitch = source->pitch;
  const int outPitch = dest->pitch;
  for (int row = 0; row < height; ++row) {
    const auto* in =
        reinterpret_cast<const uint32_t*>(inRows + static_cast<ptrdiff_t>(row) * inPitch);
    auto* out = reinterpret_cast<uint32_t*>(outRows + static_cast<ptrdiff_t>(row) * outPitch);
    // Every word is written, kept or replaced, so that the loop has no branch to vectorise
    // around.
    for (int i = 0; i < width; ++i) {
      const uint32_t pixel = in[i];
      out[i] = (pixel & compared) == wanted ? out[i] : pixel & colour;
    }
  }
  return true;
}
