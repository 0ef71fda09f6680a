// Game controllers, as many as are plugged in, plugged in or out at any time: either stick
// moves the swatter, A or the right trigger swats (the left button), B or the left trigger
// drops cream (the right button), Start or Back is Escape.
#pragma once

#include "platform/controls/controls.h"
#include "platform/win32/dinput.h"

union SDL_Event;

void GamePadsConsume(const SDL_Event& event, ControlPresses* presses);

// The sticks' counts since the previous mouse read, by the time that passed: slow and precise
// near the middle, across the picture in under a second at full tilt.
void GamePadsAddMotion(LONG* x, LONG* y);
