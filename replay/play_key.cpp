#include "replay/play_key.h"

#include <optional>
#include <vector>

#include "platform/seams/flip_observer.h"
#include "platform/seams/play_under_way.h"
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

// The rules take from the clock only the whole seconds since the stage's clock started (a
// stage's first reading starts it): each reading is written as that, once the rules have taken
// it, so that where the clock stood at Play, or within its millisecond, changes nothing.
void WriteReadings() {
  for (ReplayLine& reading : keys.game->readings) {
    reading.ms = (reading.ms - StageClockStart()) / 1000u;
    keys.game->key.Add(ReplayLineText(reading));
  }
  keys.game->readings.clear();
}

// A game begins on the flip after its Play click and ends when the rules leave the play
// screen, before the highscore screen reads a key.
void FollowTheScreen() {
  const bool playing = RulesInPlay();
  if (keys.game) WriteReadings();
  if (!keys.game && playing) {
    keys.game.emplace();
    keys.game->firstFlip = PresentedFlipCount();
    keys.game->key.Add(CarriedIntoPlay());
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
