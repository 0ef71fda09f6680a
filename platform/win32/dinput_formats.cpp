// What every DirectInput stand-in shares, with or without SDL: the devices' names, their data
// formats and the cooperative levels they take.
#include "platform/win32/dinput.h"
#include "platform/win32/guiddef.h"

const GUID GUID_SysKeyboard = {0x6F1D2B61, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_SysMouse = {0x6F1D2B60, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

const DIDATAFORMAT c_dfDIKeyboard = {sizeof(DIDATAFORMAT), DIDF_RELAXIS, 256};
const DIDATAFORMAT c_dfDIMouse = {sizeof(DIDATAFORMAT), DIDF_RELAXIS, sizeof(DIMOUSESTATE)};

bool ValidCooperativeFlags(DWORD flags) {
  const DWORD access = flags & (DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE);
  const DWORD when = flags & (DISCL_FOREGROUND | DISCL_BACKGROUND);
  const DWORD known = DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE | DISCL_FOREGROUND | DISCL_BACKGROUND;
  return (flags & ~known) == 0 && (access == DISCL_EXCLUSIVE || access == DISCL_NONEXCLUSIVE) &&
         (when == DISCL_FOREGROUND || when == DISCL_BACKGROUND);
}
