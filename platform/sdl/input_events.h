// What the keyboard and the mouse have done, gathered from SDL's events by the event pump's
// input consumer, and handed out to the DirectInput devices at their reads.
#pragma once

#include <cstdint>

#include "platform/win32/dinput.h"

union SDL_Event;

// The consumer registered with the event pump.
void InputEventsConsume(const SDL_Event& event);

// Counts every event that changed the input; equal counts mean nothing happened in between.
uint64_t InputEventsSerial();

// Key states by DIK code, 0x80 for held. A key pressed and released again since the previous
// keyboard read still reads as held once, so a tap shorter than a frame is never lost.
void InputEventsReadKeys(BYTE keys[256]);

// The motion gathered since the previous mouse read, then cleared, and the buttons, latched
// like the keys.
void InputEventsReadMouse(DIMOUSESTATE* state);

// The pointer: captured (relative motion) while the mouse is acquired and the window has the
// focus, given back otherwise.
void InputEventsSetMouseAcquired(bool acquired);
