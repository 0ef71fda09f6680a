#include "graphics/shadow_text.h"

#include <cstring>

#include "graphics/game_font.h"
#include "graphics/image_slots.h"

char TextBuffer[80];

int DrawShadowText(const char* text, int x, int y, COLORREF color, IDirectDrawSurface7* target) {
  HDC dc = nullptr;
  if (!text || !target || target->GetDC(&dc) != DD_OK) return 0;
  const int length = static_cast<int>(std::strlen(text));
  SelectObject(dc, GameFont);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, 0);
  TextOutA(dc, x + 2, y + 2, text, length);
  SetTextColor(dc, color);
  TextOutA(dc, x, y, text, length);
  target->ReleaseDC(dc);
  return 1;
}

void DrawBannerText(const char* text, int y) {
  if (!text) return;
  const int x = 350 - 10 * static_cast<int>(std::strlen(text));
  DrawShadowText(text, x, y, 0xFFFF, ImageSlots[0]);
}
