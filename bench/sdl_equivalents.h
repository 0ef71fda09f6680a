// SDL's own ways to do what the game's frames do, for the floors the frames are measured
// beside: the same pictures blitted with SDL alone, text rendered straight with SDL2_ttf.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "platform/win32/ddraw.h"

// A plain SDL copy of one of the game's pictures, keyed as the game keys it.
SDL_Surface* SdlCopyOf(IDirectDrawSurface7* picture);

// A 640 x 480 surface in the display's format, blending off.
SDL_Surface* SdlScreen();

// The game's shadowed text done straight with SDL2_ttf in the game's font: black 2 pixels
// down and right, then the colour (0x00BBGGRR) on top; render, blend, twice.
void SdlShadowText(SDL_Surface* screen, const char* text, int x, int y, uint32_t color);

// What a flip costs SDL at least: one frame converted into the frame that is shown.
void SdlPresentInto(SDL_Surface* screen, uint32_t* shown);
