// The mouse and the cursor it steers: motion, bounds, the swat trigger, hit tests and the
// wait for a click.
#pragma once

#include <cstdint>

#include "platform/win32/dinput.h"

// What the last mouse read fetched.
extern DIMOUSESTATE MouseState;

struct CursorRecord {
  int32_t x;
  int32_t y;
  bool swatActive;
  int32_t swatTimer;  // 10 in the frame a swat starts, then down to 0
  bool swatArmed;     // the button was seen up since the last swat ended
  bool swatter;       // play screen: swatting picture and sound
  bool animated;      // title screen: the fly animation
  uint32_t frame;     // animation counter, 0 to 8
  bool soundToggle;   // flips at every draw; picks one of the two hit sounds
};
extern CursorRecord Cursor;

struct CursorPoint {
  int32_t x;
  int32_t y;
};
// Where this motion takes the cursor's corner from where it stands: two pixels a count, kept
// within its bounds.
CursorPoint CursorMovedBy(LONG countsX, LONG countsY);

// Once per frame: reads the mouse, moves the cursor two pixels per count within its bounds,
// and starts a swat on a fresh press of the left button.
void UpdateMouse();
// Whether the cursor's top-left corner lies in the rectangle, all four bounds included.
bool CursorInRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
// Waits until the button is down and then up again; the cursor does not move meanwhile. Gives
// up at once when the session asks the game to end.
void WaitForClick(int button);
