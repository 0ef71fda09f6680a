// The physical keys of a standard 105-key keyboard (plus the common media keys): SDL's
// scancodes and the DirectInput key codes of the same keys. Scancodes name positions, so a key
// reads the same whatever the keyboard layout.
#pragma once

#include <cstdint>

// The DIK code of an SDL scancode, or 0 for a key the game's keyboard does not have.
uint8_t DikFromScancode(int scancode);
// The SDL scancode of a DIK code, or 0 (SDL_SCANCODE_UNKNOWN) for a code with no key.
int ScancodeFromDik(uint8_t dik);
