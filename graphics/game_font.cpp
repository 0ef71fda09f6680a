#include "graphics/game_font.h"

HFONT GameFont = nullptr;

void CreateGameFont() {
  GameFont = CreateFontA(30, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_DONTCARE,
                         "Comic Sans MS");
}
