#include "platform/word_fill.h"

#include <SDL.h>

#include <algorithm>
#include <cstddef>

bool WordFill(SDL_Surface* surface, const SDL_Rect& area, uint32_t pixel) {
  if (surface->format->BytesPerPixel != 4 || SDL_MUSTLOCK(surface)) return false;
  if (area.x < 0 || area.y < 0 || area.w <= 0 || area.h <= 0 || area.x + area.w > surface->w ||
      area.y + area.h > surface->h) {
    return false;
  }
  auto* first = static_cast<uint8_t*>(surface->pixels) +
                static_cast<ptrdiff_t>(area.y) * surface->pitch + area.x * 4;
  const int width = area.w;
  const int pitch = surface->pitch;
  if (width == 1) {  // a column, as the credits' sweep fills them: one store a row
    for (int row = 0; row < area.h; ++row) {
      *reinterpret_cast<uint32_t*>(first + static_cast<ptrdiff_t>(row) * pitch) = pixel;
    }
    return true;
  }
  for (int row = 0; row < area.h; ++row) {
    std::fill_n(reinterpret_cast<uint32_t*>(first + static_cast<ptrdiff_t>(row) * pitch), width,
                pixel);
  }
  return true;
}
