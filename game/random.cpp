#include "game/random.h"

namespace {

struct GameRandomRecord {
  uint32_t state;
  uint64_t calls;
};
GameRandomRecord GameRandom = {1, 0};

}  // namespace

int32_t GameRand() {
  GameRandom.state = GameRandom.state * 22695477u + 1u;
  GameRandom.calls += 1;
  return static_cast<int32_t>((GameRandom.state >> 16) & 0x7FFFu);
}

void GameRandStart() { GameRand(); }

uint64_t GameRandCalls() { return GameRandom.calls; }

// A step is x -> a x + c; `calls` steps at once by squaring the step, so that a count from hours
// of play costs a few dozen multiplications.
void GameRandSkipTo(uint64_t calls) {
  uint32_t a = 22695477u;
  uint32_t c = 1u;
  uint32_t state = 1u;
  for (uint64_t left = calls; left != 0; left >>= 1) {
    if (left & 1u) state = state * a + c;
    c = c * a + c;
    a = a * a;
  }
  GameRandom = {state, calls};
}
