#include "platform/controls/fingers.h"

#include <SDL.h>

#include "platform/controls/counts_to_place.h"
#include "platform/sdl/presenter.h"

namespace {

struct Finger {
  bool down = false;
  SDL_TouchID touch = 0;
  SDL_FingerID id = 0;
};

Finger steering;
Finger cream;
float steeringX = 0;  // where the steering finger is, or was lifted, as fractions of the window
float steeringY = 0;
bool placeUnread = false;  // the place changed since the previous mouse read

bool Is(const Finger& finger, const SDL_TouchFingerEvent& event) {
  return finger.down && finger.touch == event.touchId && finger.id == event.fingerId;
}

void Steer(const SDL_TouchFingerEvent& event) {
  steeringX = event.x;
  steeringY = event.y;
  placeUnread = true;
}

}  // namespace

void FingersConsume(const SDL_TouchFingerEvent& event, ControlPresses* presses) {
  constexpr auto kButton = ControlPress::Device::MouseButton;
  if (event.type == SDL_FINGERDOWN) {
    if (!steering.down) {
      steering = {true, event.touchId, event.fingerId};
      Steer(event);
      presses->Add(kButton, 0, true);
    } else if (!cream.down) {
      cream = {true, event.touchId, event.fingerId};
      presses->Add(kButton, 1, true);
    }
  } else if (event.type == SDL_FINGERMOTION) {
    if (Is(steering, event)) Steer(event);
  } else if (Is(steering, event)) {
    Steer(event);
    steering.down = false;
    presses->Add(kButton, 0, false);
  } else if (Is(cream, event)) {
    cream.down = false;
    presses->Add(kButton, 1, false);
  }
}

void FingersTakeMotion(LONG* x, LONG* y) {
  if (!steering.down && !placeUnread) return;
  placeUnread = false;
  int pictureX;
  int pictureY;
  PresenterPicturePoint(steeringX, steeringY, &pictureX, &pictureY);
  CountsToCursorTip(pictureX, pictureY, x, y);
}
