#include "replay/watching.h"

#include <algorithm>

#include "platform/sdl/audio_mixer.h"
#include "platform/sdl/event_pump.h"
#include "platform/sdl/presenter.h"
#include "platform/sdl/waits.h"
#include "platform/seams/flip_observer.h"
#include "platform/seams/flip_showing.h"
#include "platform/seams/headless.h"
#include "platform/session/ending_signals.h"
#include "platform/win32/dik_codes.h"
#include "platform/win32/win.h"
#include "replay/replay_player.h"

namespace {

constexpr uint64_t kArrowFlips = 5 * 60;
constexpr int kSpeeds = static_cast<int>(std::size(kWatchSpeeds));

struct Watching {
  uint64_t lastFlip = 0;
  uint64_t aheadTo = 0;  // flips before it run unseen
  bool holdThere = false;  // aheadTo is held once reached
  bool held = false;
  bool stepping = false;  // the next flip is held
  int speed = 2;
  bool ended = false;
  bool escaped = false;
  std::optional<WatchFrom> back;
};
Watching watching;

void EndTheWatching() {
  watching.ended = true;
  EndSessionFromWithin();
  HWND window = PlatformMainWindow();
  if (WindowAlive(window)) PostWindowMessage(window, WM_CLOSE, 0, 0);
}

// The flip held, or the last presented.
uint64_t FlipNow() { return PresentedFlipCount(); }

// Flips count from 1; the next run starts from the replay's first wherever this is before it.
void GoBackTo(uint64_t flip, bool hold) {
  watching.back = WatchFrom{std::max<uint64_t>(flip, 1), hold, watching.speed};
  EndTheWatching();
}

void GoAheadTo(uint64_t flip, bool hold) {
  watching.aheadTo = std::min(flip, watching.lastFlip);
  AudioMixerHold(true);
  watching.holdThere = hold;
  watching.held = false;
  watching.stepping = false;
}

uint64_t Before(uint64_t flips) { return FlipNow() > flips ? FlipNow() - flips : 1; }

// The printed keys by what they print, in any layout; the others by their place.
bool TakeKey(uint8_t dik, char printed, bool repeat) {
  const bool firstPress = !repeat;
  if (dik == DIK_ESCAPE) {
    if (firstPress) {
      watching.escaped = true;
      EndTheWatching();
    }
  } else if (printed == ' ') {
    if (firstPress) watching.held = !watching.held;
  } else if (printed == '.') {
    watching.held = false;
    watching.stepping = true;
  } else if (printed == ',') {
    GoBackTo(Before(1), true);
  } else if (printed == '-' || dik == DIK_SUBTRACT) {
    watching.speed = std::max(0, watching.speed - 1);
  } else if (printed == '+' || printed == '=' || dik == DIK_ADD) {
    watching.speed = std::min(kSpeeds - 1, watching.speed + 1);
  } else if (dik == DIK_HOME) {
    if (firstPress) GoBackTo(1, watching.held);
  } else if (dik == DIK_END) {
    if (firstPress) GoAheadTo(watching.lastFlip, true);
  } else if (dik == DIK_LEFT) {
    GoBackTo(Before(kArrowFlips), watching.held);
  } else if (dik == DIK_RIGHT) {
    GoAheadTo(FlipNow() + kArrowFlips, watching.held || watching.stepping);
  } else {
    return false;
  }
  return true;
}

// Asked before each flip: running ahead, none; faster than played, one in so many; a flip about
// to be held, always.
bool ShowsThisFlip() {
  const uint64_t flip = PresentedFlipCount() + 1;
  if (watching.aheadTo != 0) return flip >= watching.aheadTo;
  if (watching.stepping || watching.held) return true;
  const double speed = kWatchSpeeds[watching.speed];
  return speed <= 1 || flip % static_cast<uint64_t>(speed) == 0;
}

// Holds the game at this flip while it is held: the rules, their clock and the replay stand
// still; only the keys are read and the window kept drawn.
void HoldWhileHeld() {
  if (!watching.held) return;
  AudioMixerHold(true);
  while (watching.held && !watching.ended && !SessionEnding()) {
    PumpEvents();
    if (HeadlessActive()) {
      HeadlessYield(YieldPoint::Flip);
    } else {
      PresenterShowAgain();
      PaceRealFlip();
    }
  }
  AudioMixerHold(false);
}

void OnFlip() {
  const uint64_t flip = PresentedFlipCount();
  if (watching.aheadTo != 0) {
    if (flip < watching.aheadTo) return;
    watching.held = watching.holdThere;
    watching.aheadTo = 0;
    AudioMixerHold(false);
  }
  if (watching.stepping) {
    watching.stepping = false;
    watching.held = true;
  }
  PumpEvents();  // a key pressed while a long stretch runs with no read of a device
  // Slower than played: each shown flip waits more 60ths of a second.
  if (!HeadlessActive() && !watching.held) {
    for (double wait = 1; wait < 1 / kWatchSpeeds[watching.speed]; ++wait) PaceRealFlip();
  }
  HoldWhileHeld();
}

}  // namespace

uint64_t LastFlipOf(const Replay& replay) {
  uint64_t last = std::max(replay.endFlip.value_or(0), replay.start ? replay.start->flip : 0);
  for (const ReplayLine& line : replay.lines) last = std::max(last, line.at.flip);
  return last;
}

void WatchReplay(Replay replay, const WatchFrom& from) {
  watching.lastFlip = LastFlipOf(replay);
  watching.speed = std::clamp(from.speed, 0, kSpeeds - 1);
  watching.aheadTo = from.flip;
  watching.holdThere = from.held;
  // A run that starts ahead is silent until it is there.
  AudioMixerHold(from.flip != 0);
  ReplayPlayerStart(std::move(replay));
  SetKeyHandler(TakeKey);
  SetFlipShownQuestion(ShowsThisFlip);
  AddFlipObserver(OnFlip);
}

bool WatchingEndedByEscape() { return watching.escaped; }

std::optional<WatchFrom> WatchingGoesBack() { return watching.back; }
