// The one place that takes events from SDL's queue and hands each to its consumer:
// window events become window messages, everything else goes to the input consumer.
#pragma once

#include <cstdint>

union SDL_Event;

using EventConsumer = void (*)(const SDL_Event& event);

// Drains SDL's queue now. Never waits.
void PumpEvents();

// The input devices register here; they see every event that is not turned into a message
// (keys, mouse, focus changes). The Alt+Enter press that toggles full screen is not passed on,
// but its release is.
void SetInputEventConsumer(EventConsumer consumer);

// A close asked for from outside (the window manager's close, a signal) posts WM_CLOSE to the
// window at once. A handler set here gets the request instead: a recording moves it to the
// next flip, the one place where a replay can put it back.
using CloseRequestHandler = void (*)();
void SetCloseRequestHandler(CloseRequestHandler handler);

// While set, every key pressed goes first to the handler, and a key it takes never reaches the
// game: a replay watched in the window answers the game's reads itself, and the keys steer the
// watching. It is told the key's place (a DIK code), what the key prints in the keyboard's
// layout where that is a printable ASCII character (else 0), and whether it is the key's own
// repeat.
using KeyHandler = bool (*)(uint8_t dik, char printed, bool repeat);
void SetKeyHandler(KeyHandler handler);
