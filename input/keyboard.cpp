#include "input/keyboard.h"

#include "input/input_devices.h"

BYTE KeyboardState[256] = {};
char TypedChar = 0;

// In this order a later held key wins: digits beat letters, Z beats A, 9 beats 0.
const TypedKey TypedKeys[kTypedKeyCount] = {
    {'A', DIK_A}, {'B', DIK_B}, {'C', DIK_C}, {'D', DIK_D}, {'E', DIK_E}, {'F', DIK_F},
    {'G', DIK_G}, {'H', DIK_H}, {'I', DIK_I}, {'J', DIK_J}, {'K', DIK_K}, {'L', DIK_L},
    {'M', DIK_M}, {'N', DIK_N}, {'O', DIK_O}, {'P', DIK_P}, {'Q', DIK_Q}, {'R', DIK_R},
    {'S', DIK_S}, {'T', DIK_T}, {'U', DIK_U}, {'V', DIK_V}, {'W', DIK_W}, {'X', DIK_X},
    {'Y', DIK_Y}, {'Z', DIK_Z}, {'0', DIK_0}, {'1', DIK_1}, {'2', DIK_2}, {'3', DIK_3},
    {'4', DIK_4}, {'5', DIK_5}, {'6', DIK_6}, {'7', DIK_7}, {'8', DIK_8}, {'9', DIK_9},
};

namespace {

bool AnyKeyHeld() {
  for (int code = 0; code < 256; ++code) {
    if (KeyHeld(static_cast<BYTE>(code))) return true;
  }
  return false;
}

}  // namespace

bool KeyHeld(BYTE code) { return (KeyboardState[code] & 0x80) != 0; }

HRESULT PollKeyboard() {
  return ReadInputDevice(Input.keyboard, sizeof KeyboardState, KeyboardState);
}

void WaitForKeysReleased() {
  do {
    PollKeyboard();
  } while (AnyKeyHeld());
}

bool ReadTypedKey() {
  PollKeyboard();
  bool found = false;
  char candidate = 0;
  for (const TypedKey& key : TypedKeys) {
    if (KeyHeld(key.code)) {
      candidate = key.character;
      found = true;
    }
  }
  TypedChar = candidate;
  return found;
}
