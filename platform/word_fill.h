// Colour fills on 32-bit surfaces, row by row in words: SDL's fill calls memset for every
// row, which for the one-pixel columns of the credits' sweep costs several times the fill.
#pragma once

#include <cstdint>

struct SDL_Surface;
struct SDL_Rect;

// Fills the rectangle (wholly inside the surface) with the pixel value, as SDL_FillRect does;
// false, touching nothing, for a surface that is not 32-bit or must be locked.
bool WordFill(SDL_Surface* surface, const SDL_Rect& area, uint32_t pixel);
