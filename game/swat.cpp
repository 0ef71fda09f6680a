#include "game/swat.h"

#include "game/blood_spots.h"
#include "game/play_state.h"
#include "game/random.h"
#include "game/stage_table.h"
#include "globals/image_numbers.h"
#include "globals/sound_slot_numbers.h"
#include "graphics/image_slots.h"
#include "graphics/blits.h"
#include "input/mouse_cursor.h"
#include "scores/highscore_table.h"
#include "sound/sound_slots.h"

namespace {

// A swat hits on its ten active frames: from the one it starts on (timer 10) to timer 1.
bool SwatActive() {
  return Cursor.swatActive && Cursor.swatTimer >= 1 && Cursor.swatTimer <= 10;
}

// The swatter's corner within 44 pixels left and 10 right, 57 above and 13 below the
// target's corner, bounds included.
bool InHitBoxAt(const FlyEntry& target, CursorPoint at) {
  return target.x - 44 <= at.x && at.x <= target.x + 10 && target.y - 57 <= at.y && at.y <= target.y + 13;
}
bool InHitBox(const FlyEntry& target) { return InHitBoxAt(target, {Cursor.x, Cursor.y}); }

// Points for a swat by the targets it hit; eight and more earn 10000 more for each.
int64_t SwatScore(int32_t hits) {
  static constexpr int32_t kScores[8] = {-100, 100, 500, 2000, 5000, 9000, 14000, 20000};
  if (hits >= 8) return 10000 * int64_t{hits} - 50000;
  return kScores[hits];
}

// The boss releases the first fly that is not out, or fly 0 when all are.
int ReleasedFly() {
  for (int i = 0; i < FlyCount; ++i) {
    if (!FlyTable[i].alive) return i;
  }
  return 0;
}

}  // namespace

int TargetsUnderSwatterMovedBy(int32_t countsX, int32_t countsY) {
  const CursorPoint at = CursorMovedBy(countsX, countsY);
  int targets = 0;
  const auto reachable = [&](const FlyEntry& target) { targets += target.alive && InHitBoxAt(target, at) ? 1 : 0; };
  for (int i = 0; i < FlyCount; ++i) reachable(FlyTable[i]);
  reachable(FlyTable[kWasp]);
  return targets;
}

void BeginSwat() {
  if (Cursor.swatTimer == 10) SwatHits = 0;
}

void SwatFlies() {
  if (!SwatActive()) return;
  for (int i = 0; i < FlyCount; ++i) {
    FlyEntry& fly = FlyTable[i];
    if (!fly.alive || !InHitBox(fly)) continue;
    fly.alive = 0;
    if (BuzzOn[i]) SoundStop(FlyBuzz[i]);
    SwatHits += 1;
    DrawSprite(ImageSlots[kBackgroundImage], fly.x, fly.y, ImageSlots[kDeadFlyImage]);
    PaintBloodSpots(fly);
  }
}

// The wasp's buzz is not stopped: it plays out to its end.
void SwatWasp() {
  FlyEntry& wasp = FlyTable[kWasp];
  if (!wasp.alive || !SwatActive() || !InHitBox(wasp)) return;
  wasp.alive = 0;
  SwatHits += 1;
  DrawSprite(ImageSlots[kBackgroundImage], wasp.x, wasp.y, ImageSlots[kDeadWaspImage]);
  WaspHit = 1;
}

// Only on a swat's first frame, so that one swat hits the boss once at most.
void SwatBoss() {
  if (Stage != kBossStage || !Cursor.swatActive || BossHitTimer != 0 ||
      !CursorInRect(242, 82, 362, 216) || Cursor.swatTimer != 10) {
    return;
  }
  SoundPlay(AuSound);
  BossHitTimer = 11;
  BossEnergy -= 1;
  SwatHits += 1;
  const int i = ReleasedFly();
  SoundPlayLooped(FlyBuzz[i]);
  BuzzOn[i] = 1;
  FlyEntry& fly = FlyTable[i];
  fly.alive = 1;
  fly.frame = GameRand() % 3;
  if (GameRand() % 100 >= 50) {
    fly.x = 424;
    fly.y = 110;
  } else {
    fly.x = 160;
    fly.y = 106;
  }
}

// On the swat's last active frame, once this frame's hits are in.
void ScoreSwat() {
  if (!Cursor.swatActive || Cursor.swatTimer != 1) return;
  AddToScore(SwatScore(SwatHits));
  if (SwatHits >= 8) SwatHits = 7;
  EffectKind = static_cast<uint8_t>(SwatHits);
  if (WaspHit) {
    WaspHit = 0;
    EffectKind = 8;
    CreamStock += 1;
  }
  EffectTimer = 10;
  CurrentGameEntry.swatCounts[SwatHits] += 1;
}
