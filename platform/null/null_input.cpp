// DirectInput with no devices behind it: every read finds nothing held and no motion, and is
// then what a replay's hook makes of it, at the same yield points as the game's own devices.
#include <cstring>

#include "platform/seams/headless.h"
#include "platform/session/ending_signals.h"
#include "platform/win32/dinput.h"
#include "platform/win32/guiddef.h"

namespace {

constexpr HRESULT DIERR_ACQUIRED = static_cast<HRESULT>(0x800700AAu);

DeviceReadHook deviceReadHook = nullptr;

}  // namespace

HRESULT DirectInputCreateA(HINSTANCE, DWORD version, LPDIRECTINPUT* directInput, void*) {
  if (directInput == nullptr) return DIERR_INVALIDPARAM;
  *directInput = nullptr;
  if (version > DIRECTINPUT_VERSION) return E_FAIL;
  *directInput = new IDirectInputA{};
  return DI_OK;
}

HRESULT IDirectInputA::CreateDevice(REFGUID guid, IDirectInputDeviceA** device, void*) {
  if (device == nullptr) return DIERR_INVALIDPARAM;
  *device = nullptr;
  if (std::memcmp(&guid, &GUID_SysKeyboard, sizeof(GUID)) == 0) {
    *device = new IDirectInputDeviceA{DeviceKind::Keyboard};
  } else if (std::memcmp(&guid, &GUID_SysMouse, sizeof(GUID)) == 0) {
    *device = new IDirectInputDeviceA{DeviceKind::Mouse};
  } else {
    return DIERR_DEVICENOTREG;
  }
  return DI_OK;
}

ULONG IDirectInputA::Release() {
  delete this;
  return 0;
}

HRESULT IDirectInputDeviceA::SetCooperativeLevel(HWND hwnd, DWORD flags) {
  if (!ValidCooperativeFlags(flags)) return DIERR_INVALIDPARAM;
  window = hwnd;
  cooperativeFlags = flags;
  return DI_OK;
}

HRESULT IDirectInputDeviceA::SetDataFormat(const DIDATAFORMAT* dataFormat) {
  if (acquired) return DIERR_ACQUIRED;
  if (dataFormat != (kind == DeviceKind::Keyboard ? &c_dfDIKeyboard : &c_dfDIMouse)) {
    return DIERR_INVALIDPARAM;
  }
  format = dataFormat;
  return DI_OK;
}

HRESULT IDirectInputDeviceA::Acquire() {
  if (format == nullptr) return DIERR_INVALIDPARAM;
  acquired = true;
  return DI_OK;
}

HRESULT IDirectInputDeviceA::Unacquire() {
  acquired = false;
  return DI_OK;
}

HRESULT IDirectInputDeviceA::GetDeviceState(DWORD size, void* data) {
  if (data == nullptr || format == nullptr || size != format->dwDataSize) {
    return DIERR_INVALIDPARAM;
  }
  if (!acquired) return DIERR_NOTACQUIRED;
  HeadlessYield(kind == DeviceKind::Keyboard ? YieldPoint::KeyboardRead : YieldPoint::MouseRead);
  std::memset(data, 0, size);
  if (deviceReadHook != nullptr) deviceReadHook(kind, data);
  // Once the session asks the game to end, a replay's hand holds nothing either (as on the
  // game's own devices), so that no wait for a release outlasts the replay's lines.
  if (SessionEnding()) std::memset(data, 0, size);
  return DI_OK;
}

void SetDeviceReadHook(DeviceReadHook hook) { deviceReadHook = hook; }

ULONG IDirectInputDeviceA::Release() {
  delete this;
  return 0;
}
