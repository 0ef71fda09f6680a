#include "platform/win32/dinput.h"

#include <SDL.h>

#include <cstring>

#include "platform/controls/controls.h"
#include "platform/sdl/event_pump.h"
#include "platform/win32/guiddef.h"
#include "platform/seams/headless.h"
#include "platform/sdl/input_events.h"
#include "platform/sdl/waits.h"
#include "platform/session/ending_signals.h"

namespace {

constexpr HRESULT DIERR_ACQUIRED = static_cast<HRESULT>(0x800700AAu);

DeviceReadHook deviceReadHook = nullptr;

bool SameGuid(REFGUID a, REFGUID b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }

// The failure-injection name of a step on a device, e.g. "AcquireMouse".
bool DeviceStepFails(const char* step, DeviceKind kind) {
  char name[64];
  SDL_snprintf(name, sizeof name, "%s%s", step, kind == DeviceKind::Keyboard ? "Keyboard" : "Mouse");
  return HeadlessStepFails(name);
}

}  // namespace

HRESULT DirectInputCreateA(HINSTANCE, DWORD version, LPDIRECTINPUT* directInput, void*) {
  if (directInput == nullptr) return DIERR_INVALIDPARAM;
  *directInput = nullptr;
  if (HeadlessStepFails("DirectInputCreateA")) return E_FAIL;
  if (version > DIRECTINPUT_VERSION) return E_FAIL;
  SetInputEventConsumer(InputEventsConsume);
  ControlsOpen();
  *directInput = new IDirectInputA{};
  return DI_OK;
}

HRESULT IDirectInputA::CreateDevice(REFGUID guid, IDirectInputDeviceA** device, void*) {
  if (device == nullptr) return DIERR_INVALIDPARAM;
  *device = nullptr;
  DeviceKind kind;
  if (SameGuid(guid, GUID_SysKeyboard)) {
    kind = DeviceKind::Keyboard;
  } else if (SameGuid(guid, GUID_SysMouse)) {
    kind = DeviceKind::Mouse;
  } else {
    return DIERR_DEVICENOTREG;
  }
  if (DeviceStepFails("CreateDevice", kind)) return E_FAIL;
  *device = new IDirectInputDeviceA{kind};
  return DI_OK;
}

ULONG IDirectInputA::Release() {
  SetInputEventConsumer(nullptr);
  delete this;
  return 0;
}

HRESULT IDirectInputDeviceA::SetCooperativeLevel(HWND hwnd, DWORD flags) {
  if (DeviceStepFails("SetCooperativeLevel", kind)) return E_FAIL;
  if (!ValidCooperativeFlags(flags)) return DIERR_INVALIDPARAM;
  window = hwnd;
  cooperativeFlags = flags;
  return DI_OK;
}

HRESULT IDirectInputDeviceA::SetDataFormat(const DIDATAFORMAT* dataFormat) {
  if (DeviceStepFails("SetDataFormat", kind)) return E_FAIL;
  if (acquired) return DIERR_ACQUIRED;
  const DIDATAFORMAT* own = kind == DeviceKind::Keyboard ? &c_dfDIKeyboard : &c_dfDIMouse;
  if (dataFormat != own) return DIERR_INVALIDPARAM;
  format = dataFormat;
  return DI_OK;
}

HRESULT IDirectInputDeviceA::Acquire() {
  if (DeviceStepFails("Acquire", kind)) return E_FAIL;
  if (format == nullptr) return DIERR_INVALIDPARAM;
  acquired = true;
  if (kind == DeviceKind::Mouse) InputEventsSetMouseAcquired(true);
  return DI_OK;
}

HRESULT IDirectInputDeviceA::Unacquire() {
  if (DeviceStepFails("Unacquire", kind)) return E_FAIL;
  if (acquired && kind == DeviceKind::Mouse) InputEventsSetMouseAcquired(false);
  acquired = false;
  return DI_OK;
}

HRESULT IDirectInputDeviceA::GetDeviceState(DWORD size, void* data) {
  if (data == nullptr || format == nullptr || size != format->dwDataSize) {
    return DIERR_INVALIDPARAM;
  }
  if (!acquired) return DIERR_NOTACQUIRED;
  HeadlessYield(kind == DeviceKind::Keyboard ? YieldPoint::KeyboardRead : YieldPoint::MouseRead);
  // A loop that reads until something changes must not spin a core: after a read that found
  // nothing new, wait a moment before looking again.
  if (idleLastRead && !HeadlessActive()) RestBetweenReads();
  PumpEvents();
  idleLastRead = InputEventsSerial() == seenSerial;
  if (DeviceStepFails("GetDeviceState", kind)) {
    acquired = false;  // as a lost device: the owner acquires it again
    return DIERR_INPUTLOST;
  }
  seenSerial = InputEventsSerial();
  if (kind == DeviceKind::Keyboard) {
    InputEventsReadKeys(static_cast<BYTE*>(data));
  } else {
    InputEventsReadMouse(static_cast<DIMOUSESTATE*>(data));
  }
  if (deviceReadHook != nullptr) deviceReadHook(kind, data);
  // Once the session asks the game to end, the events already read as nothing held (and a
  // recorder notes that); a replay's hand answers after them and must hold nothing either,
  // else a wait for its release could outlast the replay's lines.
  if (SessionEnding()) std::memset(data, 0, size);
  return DI_OK;
}

void SetDeviceReadHook(DeviceReadHook hook) { deviceReadHook = hook; }

ULONG IDirectInputDeviceA::Release() {
  if (acquired && kind == DeviceKind::Mouse) InputEventsSetMouseAcquired(false);
  delete this;
  return 0;
}
