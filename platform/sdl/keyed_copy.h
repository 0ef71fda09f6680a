// The keyed copy the game's sprites take every frame, done on 32-bit words where SDL's
// generic keyed blitter would look at each pixel through its format: the same result, word
// for word, several times faster.
#pragma once

struct SDL_Surface;
struct SDL_Rect;

// Copies `from` (a rectangle inside source) to (x, y) of dest, leaving every pixel whose
// word is the key, exactly as SDL's keyed blit does. Only for two distinct surfaces of the same
// 32-bit format without alpha, the rectangle wholly inside both; returns false, copying
// nothing, for anything else.
bool KeyedCopy32(SDL_Surface* source, const SDL_Rect& from, SDL_Surface* dest, int x, int y,
                 unsigned key);
