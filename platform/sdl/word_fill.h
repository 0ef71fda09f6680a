// Colour fills of one-pixel columns on 32-bit surfaces: SDL's fill calls memset for every
// row, which for the columns of the credits' sweep costs several times the stores.
#pragma once

#include <cstdint>

struct SDL_Surface;
struct SDL_Rect;

// Fills the rectangle (wholly inside the surface) with the pixel value, as SDL_FillRect does,
// if it is one pixel wide on a 32-bit surface that needs no lock; else false, touching nothing
// (SDL's own fill is the faster for wider rows).
bool WordFill(SDL_Surface* surface, const SDL_Rect& area, uint32_t pixel);
