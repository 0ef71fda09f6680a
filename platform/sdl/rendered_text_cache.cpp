#include "platform/sdl/rendered_text_cache.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdint>
#include <vector>

#include "platform/sdl/gdi_objects.h"

namespace {

struct CachedLine {
  const GdiObject* font;
  std::string line;
  unsigned color;
  SDL_Surface* surface;
  uint64_t lastUse;
};

// The game's font lives as long as the process, so the lines it left are freed at exit.
struct LineCache : std::vector<CachedLine> {
  ~LineCache() {
    for (CachedLine& cached : *this) SDL_FreeSurface(cached.surface);
  }
};

// A frame draws a few dozen lines at most; a screen's worth stays, the least used goes.
constexpr size_t kCapacity = 64;
LineCache cache;
uint64_t uses = 0;

void Evict(std::vector<CachedLine>::iterator entry) {
  SDL_FreeSurface(entry->surface);
  cache.erase(entry);
}

}  // namespace

SDL_Surface* RenderedText(GdiObject* font, const std::string& line, unsigned color) {
  ++uses;
  for (CachedLine& cached : cache) {
    if (cached.font == font && cached.color == color && cached.line == line) {
      cached.lastUse = uses;
      return cached.surface;
    }
  }
  const SDL_Color sdlColor{static_cast<Uint8>(color & 0xFF),
                           static_cast<Uint8>((color >> 8) & 0xFF),
                           static_cast<Uint8>((color >> 16) & 0xFF), 0xFF};
  // The game's texts are ANSI; SDL2_ttf reads them as Latin-1.
  SDL_Surface* rendered = TTF_RenderText_Blended(font->font, line.c_str(), sdlColor);
  if (!rendered) return nullptr;
  SDL_SetSurfaceBlendMode(rendered, SDL_BLENDMODE_BLEND);
  if (cache.size() >= kCapacity) {
    auto oldest = cache.begin();
    for (auto entry = cache.begin(); entry != cache.end(); ++entry) {
      if (entry->lastUse < oldest->lastUse) oldest = entry;
    }
    Evict(oldest);
  }
  cache.push_back({font, line, color, rendered, uses});
  return rendered;
}

void ForgetRenderedText(const GdiObject* font) {
  for (auto entry = cache.begin(); entry != cache.end();) {
    if (entry->font == font) {
      SDL_FreeSurface(entry->surface);
      entry = cache.erase(entry);
    } else {
      ++entry;
    }
  }
}
