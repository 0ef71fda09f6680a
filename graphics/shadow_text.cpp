#include "graphics/shadow_text.h"

#include <cstring>

#include "globals/image_numbers.h"
#include "graphics/game_font.h"
#include "graphics/image_slots.h"

char TextBuffer[80];

namespace {

// Clipped to `column` where one is given.
int DrawShadowed(const char* text, int x, int y, const RECT* column, COLORREF color,
                 IDirectDrawSurface7* target) {
  HDC dc = nullptr;
  if (!text || !target || target->GetDC(&dc) != DD_OK) return 0;
  const auto length = static_cast<UINT>(std::strlen(text));
  const UINT options = column ? ETO_CLIPPED : 0;
  SelectObject(dc, GameFont);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, 0);
  ExtTextOutA(dc, x + 2, y + 2, options, column, text, length, nullptr);
  SetTextColor(dc, color);
  ExtTextOutA(dc, x, y, options, column, text, length, nullptr);
  target->ReleaseDC(dc);
  return 1;
}

}  // namespace

int DrawShadowText(const char* text, int x, int y, COLORREF color, IDirectDrawSurface7* target) {
  return DrawShadowed(text, x, y, nullptr, color, target);
}

int DrawShadowTextInColumn(const char* text, int x, int y, int right, COLORREF color,
                           IDirectDrawSurface7* target) {
  RECT column;
  column.left = 0;
  column.top = 0;
  column.right = right;
  column.bottom = 1 << 16;
  return DrawShadowed(text, x, y, &column, color, target);
}

void DrawBannerText(const char* text, int y) {
  if (!text) return;
  const int x = 350 - 10 * static_cast<int>(std::strlen(text));
  DrawShadowText(text, x, y, 0xFFFF, ImageSlots[kBackgroundImage]);
}
