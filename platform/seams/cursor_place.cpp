#include "platform/seams/cursor_place.h"

namespace {

int32_t placeX = 0;
int32_t placeY = 0;
int32_t tipX = 0;
int32_t tipY = 0;

}  // namespace

void NoteCursorPlace(int32_t x, int32_t y) {
  placeX = x;
  placeY = y;
}

void CursorPlace(int32_t* x, int32_t* y) {
  *x = placeX;
  *y = placeY;
}

void NoteCursorTip(int32_t x, int32_t y) {
  tipX = x;
  tipY = y;
}

void CursorTip(int32_t* x, int32_t* y) {
  *x = tipX;
  *y = tipY;
}
