#include "input/input_devices.h"

#include <cstring>

#include "globals/main_window.h"

InputRecord Input = {nullptr, nullptr, nullptr};

namespace {

constexpr DWORD kCooperativeFlags = DISCL_NONEXCLUSIVE | DISCL_BACKGROUND;

HRESULT OpenDevice(REFGUID guid, const DIDATAFORMAT* format, LPDIRECTINPUTDEVICE* device) {
  if (Input.directInput->CreateDevice(guid, device, nullptr) != 0) return E_FAIL;
  if ((*device)->SetCooperativeLevel(MainWindow, kCooperativeFlags) != 0) return E_FAIL;
  if ((*device)->SetDataFormat(format) != 0) return E_FAIL;
  if ((*device)->Acquire() != 0) return E_FAIL;
  return 0;
}

void CloseDevice(LPDIRECTINPUTDEVICE* device) {
  if (*device == nullptr) return;
  (*device)->Unacquire();
  (*device)->Release();
  *device = nullptr;
}

}  // namespace

HRESULT OpenInput() {
  if (DirectInputCreateA(AppInstance, DIRECTINPUT_VERSION, &Input.directInput, nullptr) != 0) {
    return E_FAIL;
  }
  if (OpenDevice(GUID_SysKeyboard, &c_dfDIKeyboard, &Input.keyboard) != 0) return E_FAIL;
  return OpenDevice(GUID_SysMouse, &c_dfDIMouse, &Input.mouse);
}

void CloseInput() {
  CloseDevice(&Input.keyboard);
  CloseDevice(&Input.mouse);
  if (Input.directInput != nullptr) {
    Input.directInput->Release();
    Input.directInput = nullptr;
  }
}

HRESULT ReadInputDevice(LPDIRECTINPUTDEVICE device, DWORD size, void* state) {
  if (device == nullptr) {
    std::memset(state, 0, size);
    return E_FAIL;
  }
  const HRESULT result = device->GetDeviceState(size, state);
  if (result != 0) {
    std::memset(state, 0, size);
    device->Acquire();
  }
  return result;
}
