#include "platform/controls/lost_pointer.h"

#include <SDL.h>

#include "platform/controls/counts_to_place.h"
#include "platform/controls/pointer_lock.h"

namespace {

bool wanted = false;
bool pressTaken[8] = {};  // by SDL's button number: a press the unit kept from the game

bool Lost() { return wanted && PointerLockLost(); }

// Runs as each event is queued. Zero keeps the event from the game.
int TakeLostPointerEvents(void*, SDL_Event* event) {
  switch (event->type) {
    case SDL_MOUSEMOTION:
      return Lost() ? 0 : 1;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      const uint8_t button = event->button.button;
      if (button >= sizeof pressTaken) return 1;
      if (event->type == SDL_MOUSEBUTTONDOWN) {
        pressTaken[button] = Lost();
        // SDL asks for the lock again on a press only while it thinks its relative mode is on,
        // which it is not when the pointer was off the picture as the focus came back.
        if (pressTaken[button] && !SDL_GetRelativeMouseMode()) SDL_SetRelativeMouseMode(SDL_TRUE);
      }
      const bool taken = pressTaken[button];
      if (event->type == SDL_MOUSEBUTTONUP) pressTaken[button] = false;
      return taken ? 0 : 1;
    }
    default:
      return 1;
  }
}

}  // namespace

void LostPointerSetWanted(bool nowWanted) {
  wanted = nowWanted;
  if (!wanted || !PointerLockCanBeLost()) return;
  SDL_EventFilter filter = nullptr;
  void* data = nullptr;
  if (SDL_GetEventFilter(&filter, &data) && filter == TakeLostPointerEvents) return;
  SDL_SetEventFilter(TakeLostPointerEvents, nullptr);  // which drops what is queued: nothing read yet
}

void LostPointerTakeCounts(LONG* x, LONG* y) {
  int pointerX;
  int pointerY;
  if (!Lost() || !FreePointerPlace(&pointerX, &pointerY)) return;
  CountsToCursorCorner(pointerX, pointerY, x, y);
}
