#include "platform/web/hidden_page.h"

#include <SDL.h>

#include "platform/seams/rules_clock.h"

namespace {

// Runs as the page is hidden or shown, whatever the game is waiting for at that moment; the
// event's time is the tick count it came at.
int OnShownOrHidden(void*, SDL_Event* event) {
  if (event->type != SDL_WINDOWEVENT) return 0;
  if (event->window.event == SDL_WINDOWEVENT_HIDDEN) HoldRulesClock(event->window.timestamp);
  if (event->window.event == SDL_WINDOWEVENT_SHOWN) ReleaseRulesClock(event->window.timestamp);
  return 0;
}

}  // namespace

// SDL keeps its watchers from before its start, until it quits.
void HoldRulesClockWhileHidden() { SDL_AddEventWatch(OnShownOrHidden, nullptr); }
