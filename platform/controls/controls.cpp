#include "platform/controls/controls.h"

#include <SDL.h>

#include "platform/controls/fingers.h"
#include "platform/controls/game_pads.h"
#include "platform/controls/lost_pointer.h"
#include "platform/seams/headless.h"

void ControlsOpen() {
  // Fingers are played here; SDL's mouse made of them would move the swatter a second time.
  SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0");
  if (HeadlessActive() || SDL_WasInit(SDL_INIT_GAMECONTROLLER)) return;
  // Without controllers the game plays on as before: nothing to say.
  SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool ControlsConsume(const SDL_Event& event, ControlPresses* presses) {
  switch (event.type) {
    case SDL_FINGERDOWN:
    case SDL_FINGERUP:
    case SDL_FINGERMOTION:
      FingersConsume(event.tfinger, presses);
      return true;
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
    case SDL_CONTROLLERAXISMOTION:
      GamePadsConsume(event, presses);
      return true;
    default:
      return false;
  }
}

void ControlsTakeMotion(LONG* x, LONG* y) {
  LostPointerTakeCounts(x, y);
  GamePadsAddMotion(x, y);
  FingersTakeMotion(x, y);
}
