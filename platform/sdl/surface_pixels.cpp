#include "platform/sdl/surface_pixels.h"

#include <SDL.h>


namespace {

uint8_t* PixelAddress(const SDL_Surface* surface, int x, int y) {
  return static_cast<uint8_t*>(surface->pixels) + static_cast<ptrdiff_t>(y) * surface->pitch +
         static_cast<ptrdiff_t>(x) * surface->format->BytesPerPixel;
}

}  // namespace

bool PixelInside(const SDL_Surface* surface, int x, int y) {
  return surface && x >= 0 && y >= 0 && x < surface->w && y < surface->h;
}

// Pixels are stored little-endian: the first byte is the lowest of the value.
uint32_t ReadRawPixel(const SDL_Surface* surface, int x, int y) {
  const uint8_t* pixel = PixelAddress(surface, x, y);
  uint32_t value = 0;
  for (int i = surface->format->BytesPerPixel - 1; i >= 0; --i) value = (value << 8) | pixel[i];
  return value;
}

void WriteRawPixel(SDL_Surface* surface, int x, int y, uint32_t value) {
  uint8_t* pixel = PixelAddress(surface, x, y);
  for (int i = 0; i < surface->format->BytesPerPixel; ++i) {
    pixel[i] = static_cast<uint8_t>(value >> (8 * i));
  }
}
