#include "game/update_play_frame.h"

#include <cstdlib>

#include "game/fly_movement.h"
#include "game/play_state.h"
#include "game/random.h"
#include "game/stage_end.h"
#include "game/stage_table.h"
#include "game/swat.h"
#include "globals/sound_slot_numbers.h"
#include "input/mouse_cursor.h"
#include "sound/sound_slots.h"

namespace {

// The right button has no debounce: held, it drops a new blob whenever none is out.
void DropCream() {
  FlyEntry& blob = FlyTable[kCreamBlob];
  if (MouseState.rgbButtons[1] == 0 || blob.alive || CreamStock <= 0) return;
  CreamStock -= 1;
  blob.alive = 1;
  blob.x = Cursor.x + 16;
  blob.y = Cursor.y + 16;
  SoundPlay(GoSound);
}

// About one frame in a thousand a wasp comes in at the right edge, never in the boss stage
// and never while one is out; it crosses 15 pixels a frame and leaves at the left edge.
void MoveWasp() {
  FlyEntry& wasp = FlyTable[kWasp];
  if (GameRand() % 1000 == 5 && !wasp.alive && Stage < kBossStage) {
    wasp.alive = 1;
    wasp.x = 607;
    wasp.y = GameRand() % 447;
    SoundPlay(WaspBuzz);
    SoundSetPan(WaspBuzz, wasp.x * 10 - 3000);
  }
  if (!wasp.alive) return;
  wasp.x -= 15;
  if (wasp.x <= 0) {
    wasp.alive = 0;
    SoundStop(WaspBuzz);
  }
  SoundSetPan(WaspBuzz, wasp.x * 10 - 3000);
}

// A fly within three pixels of the blob on both axes eats it.
void EatCream() {
  FlyEntry& blob = FlyTable[kCreamBlob];
  for (int i = 0; i < FlyCount; ++i) {
    const FlyEntry& fly = FlyTable[i];
    if (fly.alive && std::abs(fly.x - blob.x) < 4 && std::abs(fly.y - blob.y) < 4) {
      blob.alive = 0;
    }
  }
}

int32_t DeadFlies() {
  int32_t dead = 0;
  for (int i = 0; i < FlyCount; ++i) dead += FlyTable[i].alive ? 0 : 1;
  return dead;
}

}  // namespace

void UpdatePlayFrame() {
  BeginSwat();
  if (Stage == kBossStage) CreamStock = 0;
  SwatFlies();
  SwatWasp();
  SwatBoss();
  ScoreSwat();
  DropCream();
  MoveFlies();
  MoveWasp();
  EatCream();
  CheckStageEnd(DeadFlies());
}
