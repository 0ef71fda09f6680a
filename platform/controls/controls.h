// Ways to play besides the mouse and the keyboard: fingers on a touch screen and game
// controllers; and the mouse itself where a browser let go of its pointer. Each is turned here, at the platform's edge, into what the mouse and the
// keyboard would have done (counts, buttons, keys), so the game, its replays and their proofs
// see nothing but those reads.
#pragma once

#include "platform/win32/dinput.h"

union SDL_Event;

// Fingers no longer make SDL's mouse move, and the game controllers' subsystem opens:
// controllers plugged in now or later are then played with. Not while headless, where a test
// attaches the controllers it wants itself.
void ControlsOpen();

// Takes a touch or controller event; false for every other event.
bool ControlsConsume(const SDL_Event& event);

// At a mouse read: a pointer the browser let go of, and then a finger on the picture, put
// their counts in place of the motion gathered; a stick adds its own.
void ControlsTakeMotion(LONG* x, LONG* y);
