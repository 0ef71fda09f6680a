#include "replay/play_key.h"

#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/seams/flip_observer.h"
#include "platform/seams/play_under_way.h"
#include "replay/sha256.h"

namespace {

// A clock reading heard, until the rules have taken it.
struct Reading {
  ReplayPosition at;
  uint32_t ms = 0;
};

struct GameUnderWay {
  uint64_t firstFlip = 0;
  std::vector<Reading> readings;
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
// An answer as the key takes it: its channel, its place counted from Play, and what it gave, in
// fixed little-endian fields (a check hears a few answers a flip, so no text is made of them).
class AnswerBytes {
 public:
  AnswerBytes(ReplayChannel channel, const ReplayPosition& at) {
    Put(static_cast<uint8_t>(channel), 1);
    Put(at.flip, 8);
    Put(at.read, 8);
  }
  void Put(uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) bytes_[size_++] = static_cast<char>((value >> (8 * i)) & 0xff);
  }
  std::string_view View() const { return {bytes_.data(), size_}; }

 private:
  std::array<char, 32> bytes_{};
  size_t size_ = 0;
};

void WriteReadings() {
  for (const Reading& reading : keys.game->readings) {
    AnswerBytes bytes(ReplayChannel::Clock, reading.at);
    bytes.Put((reading.ms - StageClockStart()) / 1000u, 4);
    keys.game->key.Add(bytes.View());
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
  } else if (keys.game && !playing) {
    keys.lastKey = keys.game->key.HexSoFar();
    keys.game.reset();
  }
}

}  // namespace

void PlayKeyStart() { AddFlipObserver(FollowTheScreen); }

void PlayKeyAtStart() { FollowTheScreen(); }

void PlayKeyHear(const ReplayLine& answer) {
  FollowTheScreen();
  if (!keys.game) return;
  ReplayPosition at = answer.at;
  at.flip -= keys.game->firstFlip;
  if (answer.channel == ReplayChannel::Clock) {
    keys.game->readings.push_back({at, answer.ms});
    return;
  }
  AnswerBytes bytes(answer.channel, at);
  if (answer.channel == ReplayChannel::Mouse) {
    bytes.Put(static_cast<uint32_t>(answer.dx), 4);
    bytes.Put(static_cast<uint32_t>(answer.dy), 4);
    bytes.Put((answer.left ? 1u : 0u) | (answer.right ? 2u : 0u), 1);
    keys.game->key.Add(bytes.View());
    return;
  }
  // A line may hold any number of keys: they follow their count, as they are.
  bytes.Put(answer.keys.size(), 4);
  keys.game->key.Add(bytes.View());
  keys.game->key.Add({reinterpret_cast<const char*>(answer.keys.data()), answer.keys.size()});
}

std::string PlayKeyOfLastGame() { return keys.lastKey; }
