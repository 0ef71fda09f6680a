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
