// Lines of text rendered by SDL2_ttf, kept for the frames that draw them again: the head-up
// display and the credits draw the same lines in the same colours frame after frame, and
// rendering a line costs far more than blending it.
#pragma once

#include <string>

struct SDL_Surface;
struct GdiObject;

// The line in that font and colour (0x00BBGGRR), rendered blended, from the cache or newly;
// null when SDL2_ttf cannot render it. The cache keeps the surface: do not free it.
SDL_Surface* RenderedText(GdiObject* font, const std::string& line, unsigned color);

// Forgets the lines of a font that is going away.
void ForgetRenderedText(const GdiObject* font);
