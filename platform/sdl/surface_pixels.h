// Reading and writing one raw pixel of an SDL surface of 1 to 4 bytes per pixel.
#pragma once

#include <cstdint>

struct SDL_Surface;

bool PixelInside(const SDL_Surface* surface, int x, int y);
uint32_t ReadRawPixel(const SDL_Surface* surface, int x, int y);
void WriteRawPixel(SDL_Surface* surface, int x, int y, uint32_t value);
