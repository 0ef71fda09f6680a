#include "game/start_stage.h"

#include <cassert>

#include "game/play_state.h"
#include "game/random.h"
#include "game/stage_table.h"
#include "globals/image_numbers.h"
#include "globals/sound_slot_numbers.h"
#include "graphics/display.h"
#include "graphics/drawing.h"
#include "input/mouse_cursor.h"
#include "platform/seams/rules_clock.h"
#include "sound/sound_slots.h"

namespace {

void PlaceFlies() {
  for (int i = 0; i < FlyCount; ++i) {
    FlyEntry& fly = FlyTable[i];
    fly.x = GameRand() % 608;
    fly.y = GameRand() % 448;
    fly.frame = GameRand() % 3;
    fly.alive = 1;
  }
  // The boss's flies keep the places drawn for them but come out only when the boss is hit.
  if (Stage == kBossStage) {
    for (int i = 0; i < FlyCount; ++i) FlyTable[i].alive = 0;
  }
}

void ShowIntro() {
  DrawOpaque(Display.backBuffer, 0, 0, ImageSlots[kBackgroundImage]);
  DrawSprite(Display.backBuffer, 0, 0, ImageSlots[kStageBannerImage]);
  IDirectDrawSurface7* number = ImageSlots[kStageBannerImage + Stage];
  DrawSprite(Display.backBuffer, CenterOffsetX(number), 293, number);
  FlipPage();
}

// Every fly buzzes on its own loop, from a point of the sound of its own, panned to where it
// sits; the more flies, the quieter each.
void StartBuzz() {
  for (int i = 0; i < FlyCount; ++i) {
    BuzzOn[i] = 0;
    SoundSetVolume(FlyBuzz[i], 100);
  }
  if (Stage >= kBossStage) return;
  for (int i = 0; i < FlyCount; ++i) {
    SoundSetVolume(FlyBuzz[i], 100 - 3 * FlyCount);
    SoundPlayLooped(FlyBuzz[i]);
    SoundSetPosition(FlyBuzz[i], GameRand() % 50000);
    BuzzOn[i] = 1;
    SoundSetPan(FlyBuzz[i], FlyTable[i].x * 10 - 3000);
  }
}

}  // namespace

void StartStage() {
  assert(Stage >= 1 && Stage <= kStages);
  FlyTable[kCreamBlob].alive = 0;
  FlyTable[kWasp].alive = 0;
  const StageRow& row = StageTable[Stage - 1];
  LoadBackground(row.background);
  FlyCount = row.flyCount;
  MoveMode = row.moveMode;
  TimeLimit = row.timeLimit;
  if (Stage == kBossStage) {
    CreamStock = 0;
    BossEnergy = 50;
  }
  PlaceFlies();
  ShowIntro();
  WaitForClick(0);
  // The clock starts when the intro is clicked away: time on the intro is the player's own.
  StageStartTick = RulesTickCount();
  StartBuzz();
}
