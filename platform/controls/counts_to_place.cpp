#include "platform/controls/counts_to_place.h"

#include "platform/seams/cursor_place.h"

namespace {

LONG CountsBetween(int32_t from, int to) { return static_cast<LONG>((to - from) / 2); }

}  // namespace

void CountsToCursorCorner(int x, int y, LONG* countsX, LONG* countsY) {
  int32_t cursorX;
  int32_t cursorY;
  CursorPlace(&cursorX, &cursorY);
  *countsX = CountsBetween(cursorX, x);
  *countsY = CountsBetween(cursorY, y);
}

void CountsToCursorTip(int x, int y, LONG* countsX, LONG* countsY) {
  int32_t tipX;
  int32_t tipY;
  CursorTip(&tipX, &tipY);
  CountsToCursorCorner(x - tipX, y - tipY, countsX, countsY);
}
