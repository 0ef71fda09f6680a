#include "game/fly_movement.h"

#include <cstdlib>

#include "game/play_state.h"
#include "game/random.h"
#include "globals/sound_slot_numbers.h"
#include "input/mouse_cursor.h"
#include "scores/highscore_table.h"
#include "sound/sound_slots.h"

namespace {

struct Step {
  int32_t dx;
  int32_t dy;
};

int32_t Jitter(int32_t reach) { return GameRand() % (2 * reach + 1) - reach; }

// The draws go dx first, then dy.
Step DrawStep(const FlyEntry& fly) {
  Step step;
  switch (MoveMode) {
    case 1:
      step.dx = Jitter(6);
      step.dy = Jitter(6);
      return step;
    case 2:
      step.dx = Jitter(10);
      step.dy = Jitter(10);
      return step;
    case 3:
      step.dx = Jitter(5);
      step.dy = Jitter(5);
      // Near the swatter a fly gets nervous: two more draws, three times as far.
      if (std::abs(fly.x + 16 - Cursor.x) + std::abs(fly.y + 16 - Cursor.y) < 120) {
        step.dx = Jitter(15);
        step.dy = Jitter(15);
      }
      return step;
    default:
      // The boss's flies drift downwards, three pixels a frame on average.
      step.dx = Jitter(10);
      step.dy = GameRand() % 21 - 7;
      return step;
  }
}

// Up to three pixels a frame towards the blob on each axis; no draw where it is level.
int32_t Pulled(int32_t delta, int32_t at, int32_t cream) {
  if (cream < at) return delta - GameRand() % 4;
  if (cream > at) return delta + GameRand() % 4;
  return delta;
}

bool InField(int32_t x, int32_t y) { return x >= 0 && x < 608 && y >= 0 && y < 448; }

// A boss fly that leaves the field is gone: the boss gets the energy back, the player pays.
void Escape(int i) {
  FlyTable[i].alive = 0;
  BossEnergy += 1;
  AddToScore(-100);
  SoundStop(FlyBuzz[i]);
  BuzzOn[i] = 0;
}

}  // namespace

void MoveFlies() {
  const FlyEntry& cream = FlyTable[kCreamBlob];
  for (int i = 0; i < FlyCount; ++i) {
    FlyEntry& fly = FlyTable[i];
    if (!fly.alive) continue;
    fly.frame = fly.frame >= 2 ? 0 : fly.frame + 1;
    Step step = DrawStep(fly);
    if (MoveMode != 4 && cream.alive) {
      step.dx = Pulled(step.dx, fly.x, cream.x);
      step.dy = Pulled(step.dy, fly.y, cream.y);
    }
    // A step that would leave the field is not taken at all, on either axis.
    if (InField(fly.x + step.dx, fly.y + step.dy)) {
      fly.x += step.dx;
      fly.y += step.dy;
    } else if (MoveMode == 4) {
      Escape(i);
    }
  }
}
