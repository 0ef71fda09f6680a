#include "platform/sdl/ddraw_surface_memory.h"

#include <SDL.h>

#include <cstdlib>

#include "platform/sdl/picture_copy.h"
#include "platform/sdl/waits.h"

namespace {

constexpr int kMaxSide = 16384;

}  // namespace

// The game addresses pixels as 32-bit words even on a display of 24 bits per pixel, where the
// word arithmetic runs up to a row's worth past the last pixel. The slack after the last row
// keeps those reads and writes inside our own memory.
IDirectDrawSurface7* NewSurface(int width, int height, uint32_t pixelFormat, DWORD caps) {
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return nullptr;
  RestWhileStarting();
  const int bytesPerPixel = SDL_BYTESPERPIXEL(pixelFormat);
  const int pitch = (width * bytesPerPixel + 3) & ~3;
  const size_t size = static_cast<size_t>(pitch) * static_cast<size_t>(height) +
                      static_cast<size_t>(width) * 4 + 4;
  auto* memory = static_cast<unsigned char*>(std::calloc(size, 1));
  if (!memory) return nullptr;
  SDL_Surface* pixels = SDL_CreateRGBSurfaceWithFormatFrom(memory, width, height,
                                                           bytesPerPixel * 8, pitch, pixelFormat);
  if (!pixels) {
    std::free(memory);
    return nullptr;
  }
  SDL_SetSurfaceBlendMode(pixels, SDL_BLENDMODE_NONE);
  auto* surface = new IDirectDrawSurface7;
  surface->pixels = pixels;
  surface->memory = memory;
  surface->caps = caps;
  return surface;
}

void FreeSurfacePixels(IDirectDrawSurface7* surface) {
  ForgetWaitingCopy(surface->pixels);
  SDL_FreeSurface(surface->pixels);
  std::free(surface->memory);
  surface->pixels = nullptr;
  surface->memory = nullptr;
}
