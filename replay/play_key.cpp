#include "replay/play_key.h"

#include <optional>
#include <vector>

#include "game/play_state.h"
#include "game/random.h"
#include "globals/current_screen.h"
#include "input/keyboard.h"
#include "input/mouse_cursor.h"
#include "platform/seams/flip_observer.h"
#include "replay/sha256.h"

namespace {

struct GameUnderWay {
  uint64_t firstFlip = 0;
  std::vector<ReplayLine> readings;  // of the clock, until the rules have taken them
  Sha256 key;
};

struct PlayKeys {
  std::optional<GameUnderWay> game;
  std::string lastKey;
};
PlayKeys keys;

// What the rules carry from before Play into a game and may read in it. The generator is
// never reseeded, so its count of numbers drawn is its state; the title moves the cursor and
// reads the buttons and the keys; the boss's and the swat's timers run on from the game before.
std::string CarriedText() {
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

// The rules take from the clock only the whole seconds since the stage's clock started (a
// stage's first reading starts it): each reading is written as that, once the rules have taken
// it, so that where the clock stood at Play, or within its millisecond, changes nothing.
void WriteReadings() {
  for (ReplayLine& reading : keys.game->readings) {
    reading.ms = (reading.ms - StageStartTick) / 1000u;
    keys.game->key.Add(ReplayLineText(reading));
  }
  keys.game->readings.clear();
}

// A game begins on the flip after its Play click and ends when the rules leave the play
// screen, before the highscore screen reads a key.
void FollowTheScreen() {
  const bool playing = CurrentScreen == ScreenPlay;
  if (keys.game) WriteReadings();
  if (!keys.game && playing) {
    keys.game.emplace();
    keys.game->firstFlip = PresentedFlipCount();
    keys.game->key.Add(CarriedText());
  } else if (keys.game && !playing) {
    keys.lastKey = keys.game->key.HexSoFar();
    keys.game.reset();
  }
}

}  // namespace

void PlayKeyStart() { AddFlipObserver(FollowTheScreen); }

void PlayKeyHear(const ReplayLine& answer) {
  FollowTheScreen();
  if (!keys.game) return;
  ReplayLine heard = answer;
  heard.at.flip -= keys.game->firstFlip;
  if (heard.channel == ReplayChannel::Clock) {
    keys.game->readings.push_back(heard);
  } else {
    keys.game->key.Add(ReplayLineText(heard));
  }
}

std::string PlayKeyOfLastGame() { return keys.lastKey; }
