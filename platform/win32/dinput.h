// The DirectInput stand-in: one input object with the system keyboard and the system mouse,
// read as immediate device states. Input comes from SDL's events (see input_events.h).
#pragma once

#include <cstdint>

#include "platform/win32/dik_codes.h"
#include "platform/win32/win.h"

using ULONG = uint32_t;

// Defined in guiddef.h; a reference is all the callers need, and the display's header may
// bring the same type in.
struct GUID;
using REFGUID = const GUID&;
extern const GUID GUID_SysKeyboard;
extern const GUID GUID_SysMouse;

constexpr DWORD DIRECTINPUT_VERSION = 0x0700;

constexpr DWORD DISCL_EXCLUSIVE = 0x01;
constexpr DWORD DISCL_NONEXCLUSIVE = 0x02;
constexpr DWORD DISCL_FOREGROUND = 0x04;
constexpr DWORD DISCL_BACKGROUND = 0x08;

constexpr HRESULT DI_OK = 0;
constexpr HRESULT DIERR_NOTACQUIRED = static_cast<HRESULT>(0x8007000Cu);
constexpr HRESULT DIERR_INPUTLOST = static_cast<HRESULT>(0x8007001Eu);
constexpr HRESULT DIERR_INVALIDPARAM = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT DIERR_DEVICENOTREG = static_cast<HRESULT>(0x80040154u);

constexpr DWORD DIDF_ABSAXIS = 0x01;
constexpr DWORD DIDF_RELAXIS = 0x02;

// The predefined data formats, reduced to what tells them apart: their size and axis mode.
struct DIDATAFORMAT {
  DWORD dwSize;
  DWORD dwFlags;
  DWORD dwDataSize;
};
extern const DIDATAFORMAT c_dfDIKeyboard;  // 256 bytes, 0x80 for a held key
extern const DIDATAFORMAT c_dfDIMouse;     // a DIMOUSESTATE

// Motion since the previous read in mouse counts; wheel in 120ths of a notch as Windows gives
// it; buttons non-zero while down: left, right, middle, first side button.
struct DIMOUSESTATE {
  LONG lX;
  LONG lY;
  LONG lZ;
  BYTE rgbButtons[4];
};
static_assert(sizeof(DIMOUSESTATE) == 16);

enum class DeviceKind { Keyboard, Mouse };

// Exactly one of exclusive/non-exclusive and one of foreground/background.
bool ValidCooperativeFlags(DWORD flags);

struct IDirectInputDeviceA {
  DeviceKind kind;
  HWND window = nullptr;
  DWORD cooperativeFlags = 0;
  const DIDATAFORMAT* format = nullptr;
  bool acquired = false;
  uint64_t seenSerial = 0;    // input serial at the previous read
  bool idleLastRead = false;  // the previous read found nothing new

  HRESULT SetCooperativeLevel(HWND hwnd, DWORD flags);
  HRESULT SetDataFormat(const DIDATAFORMAT* dataFormat);
  HRESULT Acquire();
  HRESULT Unacquire();
  // Fills `data` (`size` bytes, the data format's size) with the device's state now.
  // On any failure the buffer is left untouched.
  HRESULT GetDeviceState(DWORD size, void* data);
  ULONG Release();
};

struct IDirectInputA {
  HRESULT CreateDevice(REFGUID guid, IDirectInputDeviceA** device, void* outer);
  ULONG Release();
};

// A replay's seam: after every successful read the hook sees the state the device has just
// given (the keyboard's 256 bytes or a DIMOUSESTATE), to note it or to put another in its place.
using DeviceReadHook = void (*)(DeviceKind kind, void* state);
void SetDeviceReadHook(DeviceReadHook hook);

using LPDIRECTINPUT = IDirectInputA*;
using LPDIRECTINPUTDEVICE = IDirectInputDeviceA*;

HRESULT DirectInputCreateA(HINSTANCE instance, DWORD version, LPDIRECTINPUT* directInput,
                           void* outer);
