#include "game/play_answers.h"

#include "game/play_state.h"
#include "game/random.h"
#include "globals/current_screen.h"
#include "input/keyboard.h"
#include "input/mouse_cursor.h"
#include "platform/seams/play_under_way.h"

namespace {

bool InPlay() { return CurrentScreen == ScreenPlay; }

// What the rules carry from before Play into a game and may read in it. The generator is
// never reseeded, so its count of numbers drawn is its state; the title moves the cursor and
// reads the buttons and the keys; the boss's and the swat's timers run on from the game before.
std::string CarriedIn() {
  std::string text = "carried rand " + std::to_string(GameRandCalls()) + " cursor " +
                     std::to_string(Cursor.x) + " " + std::to_string(Cursor.y) + " " +
                     std::to_string(Cursor.swatActive) + " " + std::to_string(Cursor.swatTimer) +
                     " " + std::to_string(Cursor.swatArmed) + " buttons " +
                     std::to_string(MouseState.rgbButtons[0]) + " " +
                     std::to_string(MouseState.rgbButtons[1]) + " boss " +
                     std::to_string(BossFrame) + " " + std::to_string(BossHitTimer) + " effect " +
                     std::to_string(EffectTimer) + " " + std::to_string(EffectKind) + " swat " +
                     std::to_string(SwatHits) + " " + std::to_string(WaspHit) + " keys";
  for (int code = 0; code < 256; ++code) {
    if (KeyboardState[code] & 0x80) text += " " + std::to_string(code);
  }
  return text + "\n";
}

uint32_t StageClockStarted() { return StageStartTick; }

}  // namespace

void AnswerPlayQuestions() { AnswerPlayUnderWay({InPlay, CarriedIn, StageClockStarted}); }
