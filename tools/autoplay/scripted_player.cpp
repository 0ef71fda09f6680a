#include "tools/autoplay/scripted_player.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "game/play_state.h"
#include "game/stage_table.h"
#include "globals/current_screen.h"
#include "graphics/cursor_images.h"
#include "input/keyboard.h"
#include "input/mouse_cursor.h"
#include "platform/seams/flip_observer.h"
#include "scores/highscore_screen.h"
#include "tools/autoplay/swat_aim.h"

namespace {

struct Point {
  int32_t x;
  int32_t y;
};

struct Rect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
  bool Holds(Point p) const { return left <= p.x && p.x <= right && top <= p.y && p.y <= bottom; }
  Point Middle() const { return {(left + right) / 2, (top + bottom) / 2}; }
};

constexpr Rect kPlayButton = {462, 336, 594, 367};
constexpr Rect kExitButton = {25, 425, 86, 450};
constexpr Rect kOkButton = {220, 292, 339, 379};
constexpr Rect kBoss = {242, 82, 362, 216};
// A quick hand: at most this many mouse counts (two pixels each) an axis between two reads.
constexpr int32_t kMostCounts = 12;

struct PlayerState {
  ScriptedPlayerOptions options;
  uint64_t flip = 0;        // flips seen; the reads below count from the last one
  int keyboardReads = 0;
  int mouseReads = 0;
  bool leftDown = false;    // as answered at the last mouse read
  bool rightDown = false;
  bool played = false;      // a game has been started
};
PlayerState player;

void OnFlip() {
  player.flip += 1;
  player.keyboardReads = 0;
  player.mouseReads = 0;
}

uint8_t KeyOf(char character) {
  for (const TypedKey& key : TypedKeys) {
    if (key.character == character) return key.code;
  }
  return DIK_SPACE;
}

// Not at the read that starts a game: the stage is still the last game's until play begins.
bool GivingUp() { return !ScreenFirstFrame && Stage > player.options.untilStage; }

// --- The keyboard -------------------------------------------------------------------------

// The frame reads the keyboard first; name entry reads it once more for the next character;
// every read after that waits for the keys to be let go.
void AnswerKeyboard(uint8_t keys[256]) {
  std::memset(keys, 0, 256);
  const int read = player.keyboardReads++;
  auto hold = [&](uint8_t code) { keys[code] = 0x80; };
  if (CurrentScreen == ScreenHighscores && !ScreenFirstFrame) {
    const std::string& name = player.options.name;
    // Escape leaves the table, and ends a name of fewer than three characters once typed.
    if (!NameEntryActive || TypedCount >= static_cast<int>(name.size())) {
      if (read == 0) hold(DIK_ESCAPE);
    } else if (read == 1) {
      hold(KeyOf(name[TypedCount]));
    }
    return;
  }
  if (CurrentScreen == ScreenPlay && read == 0 && GivingUp()) hold(DIK_ESCAPE);
}

// --- The mouse ----------------------------------------------------------------------------

int32_t Counts(int32_t from, int32_t to) { return std::clamp((to - from) / 2, -kMostCounts, kMostCounts); }

// Where the cursor goes with this motion, kept on the screen as the game keeps it.
Point Moved(Point from, int32_t countsX, int32_t countsY) {
  return {std::clamp(from.x + 2 * countsX, 0, CursorImages.limitX - 1),
          std::clamp(from.y + 2 * countsY, 0, CursorImages.limitY - 1)};
}

struct Hands {
  int32_t countsX = 0;
  int32_t countsY = 0;
  bool left = false;
  bool right = false;
};

Hands Toward(Point target) {
  Hands hands;
  hands.countsX = Counts(Cursor.x, target.x);
  hands.countsY = Counts(Cursor.y, target.y);
  return hands;
}

// Steers to a button and presses it once the cursor is on it.
Hands PressButton(const Rect& button) {
  Hands hands = Toward(button.Middle());
  hands.left = button.Holds(Moved({Cursor.x, Cursor.y}, hands.countsX, hands.countsY));
  return hands;
}

// A new swat can start with this read: the last one is over and the button was let go since.
bool SwatReady() { return Cursor.swatTimer <= 0 && Cursor.swatArmed; }

// The boss is hit only on a swat's first frame, once its hurt time is over: start a swat on it
// whenever that can be, and between, sweep the flies it lets out.
Hands PlayBoss() {
  const Point here{Cursor.x, Cursor.y};
  const bool bossOpen = BossHitTimer == 0 && BossEnergy > 0;
  if (SwatReady() && bossOpen) {
    Hands hands = Toward(kBoss.Middle());
    hands.left = kBoss.Holds(Moved(here, hands.countsX, hands.countsY));
    return hands;
  }
  const bool chasing = !player.options.lazyBoss || BossEnergy % 2 == 0;
  const bool sweeping = chasing && Cursor.swatActive && Cursor.swatTimer >= 2;
  const AimPoint aim = BestAim(here.x, here.y);
  if (sweeping && aim.targets > 0) return Toward({aim.x, aim.y});
  return Toward(kBoss.Middle());
}

// The cream goes down among the flies, to draw them together.
bool DropCreamHere(Point at) {
  if (CreamStock <= 0 || FlyTable[kCreamBlob].alive || Stage >= kBossStage) return false;
  int alive = 0;
  int64_t sumX = 0;
  int64_t sumY = 0;
  for (int i = 0; i < FlyCount; ++i) {
    if (!FlyTable[i].alive) continue;
    ++alive;
    sumX += FlyTable[i].x;
    sumY += FlyTable[i].y;
  }
  if (alive < 4) return false;
  return std::abs(at.x + 16 - sumX / alive) + std::abs(at.y + 16 - sumY / alive) < 120;
}

// Onto the best group of targets; swat as soon as the swatter is on it, and keep moving
// through the swat's ten frames, since every target the hit box meets on the way dies.
Hands PlayStage() {
  const Point here{Cursor.x, Cursor.y};
  const AimPoint aim = BestAim(here.x, here.y);
  Hands hands = aim.targets > 0 ? Toward({aim.x, aim.y}) : Hands{};
  const Point next = Moved(here, hands.countsX, hands.countsY);
  if (SwatReady() && aim.targets > 0 && TargetsAt(next.x, next.y) >= aim.targets) hands.left = true;
  hands.right = !player.rightDown && DropCreamHere(next);
  return hands;
}

Hands FrameHands() {
  switch (CurrentScreen) {
    case ScreenTitle:
      return PressButton(player.played ? kExitButton : kPlayButton);
    case ScreenPlay:
      player.played = true;
      if (GivingUp()) return Hands{};
      return Stage == kBossStage ? PlayBoss() : PlayStage();
    default:
      return Hands{};
  }
}

// A read that no frame began since the last flip: the OK box (which reads the mouse once a
// flip) or the first read of a wait for a click. Either way, head for OK and press it.
// Further reads before the next flip are a wait for a click: press, then let go.
Hands WaitHands(int read) {
  if (read == 0) return PressButton(kOkButton);
  Hands hands;
  hands.left = !player.leftDown;
  return hands;
}

void AnswerMouse(DIMOUSESTATE* state) {
  const int read = player.mouseReads++;
  Hands hands;
  if (read == 0 && player.keyboardReads > 0) {
    hands = FrameHands();
  } else {
    hands = WaitHands(read);
  }
  // A button pressed at one read is let go at the next, so that it never stays held.
  if (player.leftDown) hands.left = false;
  if (player.rightDown) hands.right = false;
  player.leftDown = hands.left;
  player.rightDown = hands.right;
  *state = DIMOUSESTATE{};
  state->lX = hands.countsX;
  state->lY = hands.countsY;
  state->rgbButtons[0] = hands.left ? 0x80 : 0;
  state->rgbButtons[1] = hands.right ? 0x80 : 0;
}

}  // namespace

void ScriptedPlayerStart(const ScriptedPlayerOptions& options) {
  player = PlayerState{};
  player.options = options;
  AddFlipObserver(OnFlip);
}

void ScriptedPlayerPlayAgain(const ScriptedPlayerOptions& options) {
  player.options = options;
  player.played = false;
}

void ScriptedPlayerAnswer(DeviceKind kind, void* state) {
  if (kind == DeviceKind::Keyboard) {
    AnswerKeyboard(static_cast<uint8_t*>(state));
  } else {
    AnswerMouse(static_cast<DIMOUSESTATE*>(state));
  }
}
