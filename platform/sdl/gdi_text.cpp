// CreateFontA over SDL2_ttf, and TextOutA.
#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/sdl/font_file.h"
#include "platform/sdl/gdi_objects.h"
#include "platform/sdl/rendered_text_cache.h"
#include "platform/sdl/waits.h"
#include "platform/seams/headless.h"
#include "platform/win32/ddraw.h"
#include "platform/win32/gdi.h"

namespace {

// Every text would silently be missing; said once.
void SayNoFont() {
  static bool said = false;
  if (!said) std::fprintf(stderr, "Zimbrel: no font can be opened; texts will not show\n");
  said = true;
}

// GDI's positive height is the cell (ascent plus descent); the largest size whose cell fits.
bool SizeToCellHeight(TTF_Font* font, int cellHeight) {
  for (int size = cellHeight; size > 1; --size) {
    if (TTF_SetFontSize(font, size) != 0) return false;
    if (TTF_FontHeight(font) <= cellHeight) return true;
  }
  return TTF_SetFontSize(font, 1) == 0;
}

}  // namespace

HFONT CreateFontA(int height, int, int, int, int weight, DWORD italic, DWORD underline,
                  DWORD strikeOut, DWORD, DWORD, DWORD, DWORD, DWORD, LPCSTR faceName) {
  if (HeadlessRulesOnly()) {
    // A font that draws nothing: looking one up costs more than the rest of start-up.
    GdiObject* object = new GdiObject;
    object->kind = GdiKind::Font;
    return object;
  }
  RestWhileStarting();
  if (!TTF_WasInit() && TTF_Init() != 0) return nullptr;
  const bool bold = weight >= 600;
  FontFile file;
  FindFontFile(faceName, bold, italic != 0, &file);
  // Height 0 asks for the default size; a negative height is the character (em) height.
  const int emHeight = height < 0 ? -height : 0;
  const int cellHeight = height > 0 ? height : 16;
  TTF_Font* font = TTF_OpenFontIndex(file.path.c_str(), emHeight ? emHeight : cellHeight,
                                     file.index);
  if (!font) {
    SayNoFont();
    return nullptr;
  }
  if (!emHeight && !SizeToCellHeight(font, cellHeight)) {
    TTF_CloseFont(font);
    return nullptr;
  }
  int style = TTF_STYLE_NORMAL;
  if (bold && !file.bold) style |= TTF_STYLE_BOLD;  // only the regular face is installed
  if (underline) style |= TTF_STYLE_UNDERLINE;
  if (strikeOut) style |= TTF_STYLE_STRIKETHROUGH;
  TTF_SetFontStyle(font, style);
  GdiObject* object = new GdiObject;
  object->kind = GdiKind::Font;
  object->font = font;
  return object;
}

int SetBkMode(HDC dc, int mode) {
  if (!dc) return 0;
  const int previous = dc->backgroundMode;
  dc->backgroundMode = mode;
  return previous;
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
  if (!dc) return CLR_INVALID;
  const COLORREF previous = dc->textColor;
  dc->textColor = color;
  return previous;
}

namespace {

BOOL DrawText(HDC dc, int x, int y, LPCSTR text, int length, const SDL_Rect* clip) {
  if (!dc || !dc->target || !dc->font || !text || length < 0) return FALSE;
  if (length == 0 || HeadlessRulesOnly()) return TRUE;
  const std::string line(text, static_cast<size_t>(length));
  SDL_Surface* rendered = RenderedText(dc->font, line, dc->textColor & 0xFFFFFFu);
  if (!rendered) return FALSE;
  SDL_Rect where{x, y, rendered->w, rendered->h};
  SDL_Rect before;
  SDL_GetClipRect(dc->target, &before);
  if (clip) SDL_SetClipRect(dc->target, clip);
  const bool drawn = SDL_BlitSurface(rendered, nullptr, dc->target, &where) == 0;
  if (clip) SDL_SetClipRect(dc->target, &before);
  return drawn ? TRUE : FALSE;
}

}  // namespace

BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int length) {
  return DrawText(dc, x, y, text, length, nullptr);
}

BOOL ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT length,
                 const int* dx) {
  if (dx != nullptr || (options & ~ETO_CLIPPED) != 0 || length > INT32_MAX) return FALSE;
  if ((options & ETO_CLIPPED) == 0 || rect == nullptr) {
    return DrawText(dc, x, y, text, static_cast<int>(length), nullptr);
  }
  const SDL_Rect clip{rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top};
  if (clip.w <= 0 || clip.h <= 0) return TRUE;
  return DrawText(dc, x, y, text, static_cast<int>(length), &clip);
}
