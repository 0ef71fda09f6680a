#include "game/play_answers.h"

#include "game/play_state.h"
#include "game/random.h"
#include "game/swat.h"
#include "globals/current_screen.h"
#include "input/keyboard.h"
#include "input/mouse_cursor.h"
#include "scores/highscore_screen.h"

namespace {

bool InPlay() { return CurrentScreen == ScreenPlay; }

// What the rules carry from before Play into a game and may read in it. The generator is
// never reseeded, so its count of numbers drawn is its state; the title moves the cursor and
// reads the buttons and the keys; the boss's and the swat's timers run on from the game before.
CarriedState CarriedIn() {
  CarriedState carried;
  carried.randCalls = GameRandCalls();
  carried.cursorX = Cursor.x;
  carried.cursorY = Cursor.y;
  carried.swatActive = Cursor.swatActive;
  carried.swatTimer = Cursor.swatTimer;
  carried.swatArmed = Cursor.swatArmed;
  carried.leftHeld = MouseState.rgbButtons[0] != 0;
  carried.rightHeld = MouseState.rgbButtons[1] != 0;
  carried.bossFrame = BossFrame;
  carried.bossHitTimer = BossHitTimer;
  carried.effectTimer = EffectTimer;
  carried.effectKind = EffectKind;
  carried.swatHits = SwatHits;
  carried.waspHit = WaspHit != 0;
  for (int code = 1; code < 256; ++code) {
    if (KeyHeld(static_cast<BYTE>(code))) carried.keys.push_back(static_cast<uint8_t>(code));
  }
  return carried;
}

uint32_t StageClockStarted() { return StageStartTick; }

// A game that has left play passes through the title's and the highscore screen's first
// frames (the title's asks whether it entered the table) before its name is typed.
bool NameStillAhead() {
  if (ScreenFirstFrame) return CurrentScreen == ScreenTitle || CurrentScreen == ScreenHighscores;
  return CurrentScreen == ScreenHighscores && NameEntryActive;
}

// A value outside what the game's own counting leaves, named for the message.
std::string OutOf(const char* what, int64_t value, int64_t low, int64_t high) {
  if (value >= low && value <= high) return "";
  return std::string(what) + " " + std::to_string(value) + " lies outside " +
         std::to_string(low) + " to " + std::to_string(high);
}

}  // namespace

void AnswerPlayQuestions(std::string (*beginPlay)(const CarriedState& carried)) {
  AnswerPlayUnderWay({InPlay, CarriedIn, StageClockStarted, NameStillAhead, beginPlay, TargetsUnderSwatterMovedBy});
}

std::string PutCarriedIn(const CarriedState& carried) {
  // A Play click is taken once its button is let go, and its press has started a swat or found
  // none armed (a swat is armed only while the button is up); a swat counts every fly, the wasp
  // and the boss at most; the generator repeats after 2^32 numbers, and the start draws one.
  if (carried.leftHeld) return "the left button is held, where a Play click has just let it go";
  if (carried.swatArmed) return "a swat is armed, where the Play click's press has just taken it";
  for (const std::string& fault :
       {OutOf("the generator's count", static_cast<int64_t>(carried.randCalls), 1, UINT32_MAX),
        OutOf("the swat's timer", carried.swatTimer, 0, 10),
        OutOf("the boss's frame", carried.bossFrame, 0, 2),
        OutOf("the hurt boss's timer", carried.bossHitTimer, 0, 11),
        OutOf("the swat picture's timer", carried.effectTimer, 0, 10),
        OutOf("the swat picture", carried.effectKind, 0, 8),
        OutOf("the swat's hits", carried.swatHits, 0, kFlyEntries + 2)}) {
    if (!fault.empty()) return fault;
  }
  GameRandSkipTo(carried.randCalls);
  Cursor.x = carried.cursorX;
  Cursor.y = carried.cursorY;
  Cursor.swatActive = carried.swatActive;
  Cursor.swatTimer = carried.swatTimer;
  Cursor.swatArmed = carried.swatArmed;
  MouseState.rgbButtons[0] = 0;
  MouseState.rgbButtons[1] = carried.rightHeld ? 0x80 : 0;
  BossFrame = carried.bossFrame;
  BossHitTimer = carried.bossHitTimer;
  EffectTimer = carried.effectTimer;
  EffectKind = static_cast<uint8_t>(carried.effectKind);
  SwatHits = carried.swatHits;
  WaspHit = carried.waspHit ? 1 : 0;
  for (BYTE& key : KeyboardState) key = 0;
  for (uint8_t code : carried.keys) KeyboardState[code] = 0x80;
  return "";
}
