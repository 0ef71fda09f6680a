#include "replay/watching.h"

#include "platform/sdl/event_pump.h"
#include "platform/session/ending_signals.h"
#include "platform/win32/win.h"
#include "replay/replay_player.h"

namespace {

bool escaped = false;

void EndTheWatching() {
  escaped = true;
  EndSessionFromWithin();
  HWND window = PlatformMainWindow();
  if (WindowAlive(window)) PostWindowMessage(window, WM_CLOSE, 0, 0);
}

}  // namespace

void WatchReplay(Replay replay) {
  ReplayPlayerStart(std::move(replay));
  SetEscapeHandler(EndTheWatching);
}

bool WatchingEndedByEscape() { return escaped; }
