// The keyboard as an immediate state, the wait for all keys up, and the name-entry keys.
#pragma once

#include "platform/win32/dinput.h"

// The keys that type a name character: A to Z, then 0 to 9, by their DIK codes.
struct TypedKey {
  char character;
  BYTE code;
};
constexpr int kTypedKeyCount = 36;
extern const TypedKey TypedKeys[kTypedKeyCount];

// Held keys by DIK code: bit 0x80 for a held key. What the last poll fetched.
extern BYTE KeyboardState[256];
// The character of the last ReadTypedKey that found a key.
extern char TypedChar;

// Whether the last poll found the key held (DIK_ESCAPE leaves the screens).
bool KeyHeld(BYTE code);
HRESULT PollKeyboard();
// Polls until no key at all is held.
void WaitForKeysReleased();
// True when one of the 36 letter and digit keys is held; the last of them in the table's
// order goes to TypedChar.
bool ReadTypedKey();
