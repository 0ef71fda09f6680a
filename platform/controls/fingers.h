// Fingers on a touch screen. The first finger down steers: the swatter's tip comes under it
// (the counts that bring it there, two pixels a count) and it presses the left button, so
// that it swats, clicks a button or takes a box away; sliding drags the swatter, lifting lets
// go. A second finger down while the first is held presses the right button: cream.
#pragma once

#include "platform/controls/controls.h"
#include "platform/win32/dinput.h"

struct SDL_TouchFingerEvent;

void FingersConsume(const SDL_TouchFingerEvent& finger, ControlPresses* presses);

// While a finger steers, and once more for a finger lifted since the previous read (a tap
// shorter than a frame), the counts from the cursor to the finger take the motion's place.
void FingersTakeMotion(LONG* x, LONG* y);
