#include "input/mouse_cursor.h"

#include "graphics/cursor_images.h"
#include "input/input_devices.h"
#include "platform/seams/cursor_place.h"
#include "platform/seams/screen_offers.h"
#include "platform/session/ending_signals.h"

DIMOUSESTATE MouseState = {0, 0, 0, {0, 0, 0, 0}};
CursorRecord Cursor = {0, 0, false, 0, false, false, false, 0, false};

namespace {

constexpr int32_t kSwatFrames = 10;
// Where a finger puts the cursor, from its corner: a fly under the swatter's head is hit
// squarely (the middle of the hit box, and half a fly); the title's fly points with its
// corner, where the menu tests it.
constexpr int32_t kSwatterTipX = 33;
constexpr int32_t kSwatterTipY = 38;

void ReadMouse() { ReadInputDevice(Input.mouse, sizeof MouseState, &MouseState); }

// Two pixels per count; computed wide so that no flood of motion can overflow.
int32_t Moved(int32_t position, LONG counts) {
  const int64_t moved = static_cast<int64_t>(position) + 2 * static_cast<int64_t>(counts);
  if (moved < INT32_MIN) return INT32_MIN;
  if (moved > INT32_MAX) return INT32_MAX;
  return static_cast<int32_t>(moved);
}

void UpdateSwat() {
  const bool buttonDown = MouseState.rgbButtons[0] != 0;
  if (!buttonDown && Cursor.swatTimer <= 0) Cursor.swatArmed = true;
  if (Cursor.swatTimer <= 0) {
    Cursor.swatActive = false;
  } else {
    Cursor.swatTimer -= 1;
  }
  if (buttonDown && !Cursor.swatActive && Cursor.swatArmed) {
    Cursor.swatActive = true;
    Cursor.swatTimer = kSwatFrames;
    Cursor.swatArmed = false;
  }
}

}  // namespace

CursorPoint CursorMovedBy(LONG countsX, LONG countsY) {
  CursorPoint to{Moved(Cursor.x, countsX), Moved(Cursor.y, countsY)};
  if (to.x < 0) to.x = 0;
  if (to.x > CursorImages.limitX - 1) to.x = CursorImages.limitX - 1;
  if (to.y < 0) to.y = 0;
  if (to.y > CursorImages.limitY - 1) to.y = CursorImages.limitY - 1;
  return to;
}

void UpdateMouse() {
  NoteCursorTip(Cursor.swatter ? kSwatterTipX : 0, Cursor.swatter ? kSwatterTipY : 0);
  ReadMouse();
  const CursorPoint to = CursorMovedBy(MouseState.lX, MouseState.lY);
  Cursor.x = to.x;
  Cursor.y = to.y;
  NoteCursorPlace(Cursor.x, Cursor.y);
  UpdateSwat();
}

bool CursorInRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  return left <= Cursor.x && Cursor.x <= right && top <= Cursor.y && Cursor.y <= bottom;
}

void WaitForClick(int button) {
  if (button < 0 || button > 3) return;
  NoteClickAwaited();
  // A logout kills the game soon after its signal: the click is not waited for then.
  while (MouseState.rgbButtons[button] == 0 && !SessionEnding()) ReadMouse();
  while (MouseState.rgbButtons[button] != 0) ReadMouse();
}
