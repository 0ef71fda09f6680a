#include "platform/sdl/word_fill.h"

#include <SDL.h>

#include <cstddef>

bool WordFill(SDL_Surface* surface, const SDL_Rect& area, uint32_t pixel) {
  if (surface->format->BytesPerPixel != 4 || SDL_MUSTLOCK(surface) || area.w != 1) return false;
  if (area.x < 0 || area.y < 0 || area.h <= 0 || area.x >= surface->w ||
      area.y + area.h > surface->h) {
    return false;
  }
  auto* first = static_cast<uint8_t*>(surface->pixels) +
                static_cast<ptrdiff_t>(area.y) * surface->pitch + area.x * 4;
  const int pitch = surface->pitch;
  for (int row = 0; row < area.h; ++row) {
    *reinterpret_cast<uint32_t*>(first + static_cast<ptrdiff_t>(row) * pitch) = pixel;
  }
  return true;
}
