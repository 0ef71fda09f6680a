#include "game/play_state.h"

#include "platform/seams/rules_clock.h"

FlyEntry FlyTable[52] = {};

int32_t Stage = 1;
int32_t FlyCount = 0;
int32_t MoveMode = 0;
int32_t TimeLimit = 0;
uint32_t StageStartTick = 0;
int32_t CreamStock = 0;
int32_t BossEnergy = 50;
int32_t BossFrame = 2;
int32_t BossHitTimer = 0;
int32_t SwatHits = 0;
int32_t EffectTimer = 0;
uint8_t EffectKind = 0;
uint8_t WaspHit = 0;
uint8_t BuzzOn[kFlyEntries] = {};

int32_t SecondsLeft() {
  const uint32_t elapsed = (RulesTickCount() - StageStartTick) / 1000u;
  return TimeLimit - static_cast<int32_t>(elapsed);
}
