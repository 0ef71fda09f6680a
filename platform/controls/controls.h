// Ways to play besides the mouse and the keyboard: fingers on a touch screen and game
// controllers; and the mouse itself where a browser let go of its pointer. Each is turned here, at the platform's edge, into what the mouse and the
// keyboard would have done (counts, buttons, keys), so the game, its replays and their proofs
// see nothing but those reads.
#pragma once

#include "platform/win32/dinput.h"

union SDL_Event;

// What another way to play pressed or let go of, as the mouse's button (0 left, 1 right) or the
// keyboard's key (by DIK code) would have: the input layer latches them as the real ones.
struct ControlPress {
  enum class Device { MouseButton, Key } device;
  int which;
  bool down;
};
struct ControlPresses {
  // A controller plugged in sets each trigger, then its buttons: each of swat, cream and
  // Escape changes at most twice in one event.
  static constexpr int kMost = 6;
  ControlPress press[kMost];
  int count = 0;
  void Add(ControlPress::Device device, int which, bool down) { press[count++] = {device, which, down}; }
};

// Fingers no longer make SDL's mouse move, and the game controllers' subsystem opens:
// controllers plugged in now or later are then played with. Not while headless, where a test
// attaches the controllers it wants itself.
void ControlsOpen();

// Takes a touch or controller event, and adds to `presses` what it pressed or let go of; false
// for every other event.
bool ControlsConsume(const SDL_Event& event, ControlPresses* presses);

// At a mouse read: a pointer the browser let go of, and then a finger on the picture, put
// their counts in place of the motion gathered; a stick adds its own.
void ControlsTakeMotion(LONG* x, LONG* y);
