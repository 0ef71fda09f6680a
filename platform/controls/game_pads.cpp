#include "platform/controls/game_pads.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/seams/headless.h"
#include "platform/win32/dik_codes.h"

namespace {

constexpr int kMostPads = 8;
constexpr double kAxisFull = 32767.0;
// A stick at rest seldom reads zero: a quarter of the way out still does nothing.
constexpr double kDeadZone = 0.24;
// At full tilt, in picture pixels a second: 640 pixels in 0.64 s. The speed grows with the
// square of the tilt, so that a small tilt moves a pixel at a time.
constexpr double kFullTiltPixelsPerSecond = 1000.0;
// A read after a long wait (a stage's intro, a held box) moves no further than this would.
constexpr double kLongestStepMs = 50.0;
constexpr Sint16 kTriggerDown = 16384;  // half pressed
constexpr Sint16 kTriggerUp = 8192;     // let go again: apart, so a trembling finger does not

enum Target { kSwat, kCream, kEscape, kTargets };

struct Pad {
  SDL_GameController* controller = nullptr;
  SDL_JoystickID id = -1;
  Sint16 axes[SDL_CONTROLLER_AXIS_MAX] = {};
  bool buttons[SDL_CONTROLLER_BUTTON_MAX] = {};
  bool leftTrigger = false;
  bool rightTrigger = false;
};

Pad pads[kMostPads];
bool targetHeld[kTargets] = {};
double lastReadMs = -1;
double carryX = 0;  // counts short of a whole one, kept for the next read
double carryY = 0;

Pad* PadOf(SDL_JoystickID id) {
  for (Pad& pad : pads) {
    if (pad.controller != nullptr && pad.id == id) return &pad;
  }
  return nullptr;
}

bool PadHolds(const Pad& pad, Target target) {
  switch (target) {
    case kSwat: return pad.buttons[SDL_CONTROLLER_BUTTON_A] || pad.rightTrigger;
    case kCream: return pad.buttons[SDL_CONTROLLER_BUTTON_B] || pad.leftTrigger;
    default:
      return pad.buttons[SDL_CONTROLLER_BUTTON_START] || pad.buttons[SDL_CONTROLLER_BUTTON_BACK];
  }
}

// Held while any pad holds it; each change is one press or release of the mouse or the key.
void SendChanges(ControlPresses* presses) {
  for (int target = 0; target < kTargets; ++target) {
    bool held = false;
    for (const Pad& pad : pads) {
      held = held || (pad.controller != nullptr && PadHolds(pad, static_cast<Target>(target)));
    }
    if (held == targetHeld[target]) continue;
    targetHeld[target] = held;
    if (target == kEscape) {
      presses->Add(ControlPress::Device::Key, DIK_ESCAPE, held);
    } else {
      presses->Add(ControlPress::Device::MouseButton, target == kSwat ? 0 : 1, held);
    }
  }
}

void SetAxis(Pad& pad, int axis, Sint16 value, ControlPresses* presses) {
  if (axis < 0 || axis >= SDL_CONTROLLER_AXIS_MAX) return;
  pad.axes[axis] = value;
  if (axis == SDL_CONTROLLER_AXIS_TRIGGERLEFT) {
    pad.leftTrigger = value >= kTriggerDown || (pad.leftTrigger && value > kTriggerUp);
  } else if (axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT) {
    pad.rightTrigger = value >= kTriggerDown || (pad.rightTrigger && value > kTriggerUp);
  }
  SendChanges(presses);
}

void Open(int deviceIndex, ControlPresses* presses) {
  SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
  if (controller == nullptr) return;
  const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
  Pad* free = std::find_if(pads, pads + kMostPads, [](const Pad& p) { return !p.controller; });
  if (PadOf(id) != nullptr || free == pads + kMostPads) {
    SDL_GameControllerClose(controller);  // already ours (SDL counts the opening), or no room
    return;
  }
  *free = Pad{};
  free->controller = controller;
  free->id = id;
  // Its sticks and buttons as they are now: SDL tells only of changes from here on.
  for (int axis = 0; axis < SDL_CONTROLLER_AXIS_MAX; ++axis) {
    const auto which = static_cast<SDL_GameControllerAxis>(axis);
    SetAxis(*free, axis, SDL_GameControllerGetAxis(controller, which), presses);
  }
  for (int button = 0; button < SDL_CONTROLLER_BUTTON_MAX; ++button) {
    free->buttons[button] =
        SDL_GameControllerGetButton(controller, static_cast<SDL_GameControllerButton>(button)) != 0;
  }
  SendChanges(presses);
}

// Whatever it held lets go: a pad pulled out mid-swat never leaves a button down.
void Close(SDL_JoystickID id, ControlPresses* presses) {
  Pad* pad = PadOf(id);
  if (pad == nullptr) return;
  SDL_GameControllerClose(pad->controller);
  *pad = Pad{};
  SendChanges(presses);
}

// Pixels a second along each axis for one stick.
void AddStickSpeed(const Pad& pad, int axisX, int axisY, double* speedX, double* speedY) {
  const double x = pad.axes[axisX] / kAxisFull;
  const double y = pad.axes[axisY] / kAxisFull;
  const double tilt = std::min(1.0, std::hypot(x, y));
  if (tilt <= kDeadZone) return;
  const double beyond = (tilt - kDeadZone) / (1.0 - kDeadZone);
  const double speed = kFullTiltPixelsPerSecond * beyond * beyond;
  *speedX += speed * x / tilt;
  *speedY += speed * y / tilt;
}

double NowMs() {
  if (HeadlessActive()) return HeadlessClockNow();
  return static_cast<double>(SDL_GetPerformanceCounter()) * 1000.0 /
         static_cast<double>(SDL_GetPerformanceFrequency());
}

// The whole counts taken out of the carry, added to a read's without overflowing it.
void TakeWholeCounts(double* carry, LONG* counts) {
  const double whole = std::trunc(*carry);
  *carry -= whole;
  const int64_t sum = int64_t{*counts} + static_cast<int64_t>(whole);
  *counts = static_cast<LONG>(std::clamp<int64_t>(sum, INT32_MIN, INT32_MAX));
}

}  // namespace

void GamePadsConsume(const SDL_Event& event, ControlPresses* presses) {
  switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
      Open(event.cdevice.which, presses);
      break;
    case SDL_CONTROLLERDEVICEREMOVED:
      Close(event.cdevice.which, presses);
      break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
      if (Pad* pad = PadOf(event.cbutton.which);
          pad != nullptr && event.cbutton.button < SDL_CONTROLLER_BUTTON_MAX) {
        pad->buttons[event.cbutton.button] = event.type == SDL_CONTROLLERBUTTONDOWN;
        SendChanges(presses);
      }
      break;
    case SDL_CONTROLLERAXISMOTION:
      if (Pad* pad = PadOf(event.caxis.which)) SetAxis(*pad, event.caxis.axis, event.caxis.value, presses);
      break;
    default:
      break;
  }
}

void GamePadsAddMotion(LONG* x, LONG* y) {
  const double now = NowMs();
  const double elapsed = lastReadMs < 0 ? 0 : std::clamp(now - lastReadMs, 0.0, kLongestStepMs);
  lastReadMs = now;
  double speedX = 0;
  double speedY = 0;
  for (const Pad& pad : pads) {
    if (pad.controller == nullptr) continue;
    AddStickSpeed(pad, SDL_CONTROLLER_AXIS_LEFTX, SDL_CONTROLLER_AXIS_LEFTY, &speedX, &speedY);
    AddStickSpeed(pad, SDL_CONTROLLER_AXIS_RIGHTX, SDL_CONTROLLER_AXIS_RIGHTY, &speedX, &speedY);
  }
  if (speedX == 0 && speedY == 0) {
    carryX = 0;
    carryY = 0;
    return;
  }
  // Two pixels a count.
  carryX += speedX * elapsed / 2000.0;
  carryY += speedY * elapsed / 2000.0;
  TakeWholeCounts(&carryX, x);
  TakeWholeCounts(&carryY, y);
}
