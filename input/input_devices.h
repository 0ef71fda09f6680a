// The input object with its two devices, the system keyboard and the system mouse.
#pragma once

#include "platform/win32/dinput.h"

struct InputRecord {
  LPDIRECTINPUT directInput;
  LPDIRECTINPUTDEVICE keyboard;
  LPDIRECTINPUTDEVICE mouse;
};
extern InputRecord Input;

// 0, or E_FAIL at the first step that fails; what was made stays for CloseInput.
HRESULT OpenInput();
void CloseInput();

// One immediate read of a device into `state`. A read that fails counts as nothing held (the
// whole state zero) and the device is acquired again, so the next read can succeed.
HRESULT ReadInputDevice(LPDIRECTINPUTDEVICE device, DWORD size, void* state);
