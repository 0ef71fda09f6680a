// Which key code a key event counts as. Letters and digits are read by the character the
// player's layout prints on the key (they only ever type names, and a name must be what the
// player typed: on AZERTY the key beside Tab types an A); every other key by its place, so the
// controls sit where they sit on any layout.
#pragma once

#include <cstdint>

// The DIK code of a key with this scancode (its place) and keycode (SDL's layout-aware
// symbol), or 0 for a key the game's keyboard does not have. A key whose place is a letter's
// but which prints no letter or digit (the comma of AZERTY) is such a key.
uint8_t DikOfKeyEvent(int scancode, int32_t keycode);
