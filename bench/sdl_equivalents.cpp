#include "bench/sdl_equivalents.h"

#include <SDL_ttf.h>

#include "graphics/game_font.h"
#include "platform/sdl/gdi_objects.h"

SDL_Surface* SdlCopyOf(IDirectDrawSurface7* picture) {
  SDL_Surface* copy = SDL_DuplicateSurface(picture->pixels);
  SDL_SetSurfaceBlendMode(copy, SDL_BLENDMODE_NONE);
  SDL_SetColorKey(copy, picture->hasSourceKey ? SDL_TRUE : SDL_FALSE,
                  picture->sourceKey.dwColorSpaceLowValue);
  return copy;
}

SDL_Surface* SdlScreen() {
  SDL_Surface* screen = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_RGB888);
  SDL_SetSurfaceBlendMode(screen, SDL_BLENDMODE_NONE);
  return screen;
}

void SdlShadowText(SDL_Surface* screen, const char* text, int x, int y, uint32_t color) {
  const SDL_Color colors[2] = {
      {0, 0, 0, 255},
      {static_cast<Uint8>(color), static_cast<Uint8>(color >> 8), static_cast<Uint8>(color >> 16),
       255}};
  for (int pass = 0; pass < 2; ++pass) {
    SDL_Surface* rendered = TTF_RenderText_Blended(GameFont->font, text, colors[pass]);
    if (rendered == nullptr) continue;
    SDL_SetSurfaceBlendMode(rendered, SDL_BLENDMODE_BLEND);
    SDL_Rect to{x + 2 - 2 * pass, y + 2 - 2 * pass, rendered->w, rendered->h};
    SDL_BlitSurface(rendered, nullptr, screen, &to);
    SDL_FreeSurface(rendered);
  }
}

void SdlPresentInto(SDL_Surface* screen, uint32_t* shown) {
  SDL_ConvertPixels(screen->w, screen->h, screen->format->format, screen->pixels, screen->pitch,
                    SDL_PIXELFORMAT_RGB888, shown, screen->w * 4);
}
