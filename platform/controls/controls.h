// Ways to play besides the mouse and the keyboard: fingers on a touch screen and game
// controllers. Each is turned here, at the platform's edge, into what the mouse and the
// keyboard would have done (counts, buttons, keys), so the game, its replays and their proofs
// see nothing but those reads.
#pragma once

#include "platform/win32/dinput.h"

union SDL_Event;

// Opens the game controllers' subsystem: controllers plugged in now or later are then played
// with. Never while headless, where a test attaches the controllers it wants itself.
void ControlsOpen();

// Takes a touch or controller event; false for every other event.
bool ControlsConsume(const SDL_Event& event);

// At a mouse read: a finger on the picture puts its counts in place of the motion gathered;
// a stick adds its own.
void ControlsTakeMotion(LONG* x, LONG* y);
