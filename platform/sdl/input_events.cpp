#include "platform/sdl/input_events.h"

#include <SDL.h>

#include <cstring>

#include "platform/controls/controls.h"
#include "platform/controls/lost_pointer.h"
#include "platform/sdl/scancode_table.h"
#include "platform/session/ending_signals.h"

namespace {

constexpr LONG kWheelDelta = 120;  // one notch of the wheel, as Windows counts it

struct GatheredInput {
  BYTE keysHeld[256];
  BYTE keysTapped[256];  // pressed since the previous keyboard read
  BYTE buttonsHeld[4];
  BYTE buttonsTapped[4];  // pressed since the previous mouse read
  LONG motionX;
  LONG motionY;
  LONG motionZ;
  bool focused;
  bool mouseAcquired;
  uint64_t serial;
};

GatheredInput gathered = {{}, {}, {}, {}, 0, 0, 0, true, false, 0};

int ButtonIndex(uint8_t sdlButton) {
  switch (sdlButton) {
    case SDL_BUTTON_LEFT: return 0;
    case SDL_BUTTON_RIGHT: return 1;
    case SDL_BUTTON_MIDDLE: return 2;
    case SDL_BUTTON_X1: return 3;
    default: return -1;
  }
}

void ApplyPointerCapture() {
  const bool captured = gathered.mouseAcquired && gathered.focused;
  SDL_SetRelativeMouseMode(captured ? SDL_TRUE : SDL_FALSE);
  LostPointerSetWanted(captured);
}

void ForgetEverything() {
  std::memset(gathered.keysHeld, 0, sizeof gathered.keysHeld);
  std::memset(gathered.keysTapped, 0, sizeof gathered.keysTapped);
  std::memset(gathered.buttonsHeld, 0, sizeof gathered.buttonsHeld);
  std::memset(gathered.buttonsTapped, 0, sizeof gathered.buttonsTapped);
  gathered.motionX = 0;
  gathered.motionY = 0;
  gathered.motionZ = 0;
}

// A key counts by its place, whatever the layout prints on it (names too: the key at QWERTY's
// A types A). Presses count only while the window has the focus; releases always, so nothing
// sticks.
void SetKey(uint8_t dik, bool down) {
  if (dik == 0 || (down && !gathered.focused)) return;
  gathered.keysHeld[dik] = down ? 1 : 0;
  if (down) gathered.keysTapped[dik] = 1;
}

void SetButton(int index, bool down) {
  if (index < 0 || index > 3 || (down && !gathered.focused)) return;
  gathered.buttonsHeld[index] = down ? 1 : 0;
  if (down) gathered.buttonsTapped[index] = 1;
}

// Sums that saturate instead of overflowing, whatever a flood of events adds up to.
LONG AddMotion(LONG total, int64_t delta) {
  const int64_t sum = static_cast<int64_t>(total) + delta;
  if (sum > INT32_MAX) return INT32_MAX;
  if (sum < INT32_MIN) return INT32_MIN;
  return static_cast<LONG>(sum);
}

void OnWindowEvent(const SDL_WindowEvent& window) {
  if (window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
    gathered.focused = false;
    ForgetEverything();
    ApplyPointerCapture();
  } else if (window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
    gathered.focused = true;
    ApplyPointerCapture();
  }
}

// Once the session asks the game to end, nothing reads as held: a wait for all keys up ends,
// and no key or button held at that moment acts again.
void ForgetIfEnding() {
  if (SessionEnding()) ForgetEverything();
}

}  // namespace

void InputEventsConsume(const SDL_Event& event) {
  switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      SetKey(DikFromScancode(event.key.keysym.scancode), event.type == SDL_KEYDOWN);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      SetButton(ButtonIndex(event.button.button), event.type == SDL_MOUSEBUTTONDOWN);
      break;
    case SDL_MOUSEMOTION:
      if (!gathered.focused) return;
      gathered.motionX = AddMotion(gathered.motionX, event.motion.xrel);
      gathered.motionY = AddMotion(gathered.motionY, event.motion.yrel);
      break;
    case SDL_MOUSEWHEEL: {
      if (!gathered.focused) return;
      const int64_t notches = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y
                                                                              : event.wheel.y;
      gathered.motionZ = AddMotion(gathered.motionZ, notches * kWheelDelta);
      break;
    }
    case SDL_WINDOWEVENT:
      OnWindowEvent(event.window);
      break;
    default: {
      ControlPresses presses;
      if (!ControlsConsume(event, &presses)) return;
      for (int at = 0; at < presses.count; ++at) {
        const ControlPress& press = presses.press[at];
        if (press.device == ControlPress::Device::Key) {
          SetKey(static_cast<uint8_t>(press.which), press.down);
        } else {
          SetButton(press.which, press.down);
        }
      }
      break;
    }
  }
  gathered.serial += 1;
}

uint64_t InputEventsSerial() { return gathered.serial; }

void InputEventsReadKeys(BYTE keys[256]) {
  ForgetIfEnding();
  for (int code = 0; code < 256; ++code) {
    keys[code] = (gathered.keysHeld[code] | gathered.keysTapped[code]) ? 0x80 : 0;
  }
  std::memset(gathered.keysTapped, 0, sizeof gathered.keysTapped);
}

void InputEventsReadMouse(DIMOUSESTATE* state) {
  ForgetIfEnding();
  state->lX = gathered.motionX;
  state->lY = gathered.motionY;
  state->lZ = gathered.motionZ;
  for (int button = 0; button < 4; ++button) {
    state->rgbButtons[button] =
        (gathered.buttonsHeld[button] | gathered.buttonsTapped[button]) ? 0x80 : 0;
  }
  ControlsTakeMotion(&state->lX, &state->lY);
  gathered.motionX = 0;
  gathered.motionY = 0;
  gathered.motionZ = 0;
  std::memset(gathered.buttonsTapped, 0, sizeof gathered.buttonsTapped);
}

void InputEventsSetMouseAcquired(bool acquired) {
  gathered.mouseAcquired = acquired;
  ApplyPointerCapture();
}
