#include "tools/autoplay/swat_aim.h"

#include <algorithm>
#include <cstdlib>

#include "game/play_state.h"

namespace {

// The swatter's corner squarely on a target: 17 left of and 22 above its corner, halfway in
// the hit box both ways.
AimPoint AimAt(const FlyEntry& target) { return ClampAim({target.x - 17, target.y - 22, 0}); }

bool InHitBox(const FlyEntry& target, int32_t x, int32_t y) {
  return target.x - 44 <= x && x <= target.x + 10 && target.y - 57 <= y && y <= target.y + 13;
}

}  // namespace

AimPoint ClampAim(AimPoint aim) {
  aim.x = std::clamp(aim.x, 0, 575);
  aim.y = std::clamp(aim.y, 0, 402);
  return aim;
}

int TargetsAt(int32_t x, int32_t y) {
  int targets = 0;
  for (int i = 0; i < FlyCount; ++i) targets += FlyTable[i].alive && InHitBox(FlyTable[i], x, y);
  const FlyEntry& wasp = FlyTable[kWasp];
  targets += wasp.alive && InHitBox(wasp, x, y);
  return targets;
}

AimPoint BestAim(int32_t fromX, int32_t fromY) {
  AimPoint best;
  int64_t bestScore = INT64_MIN;
  auto consider = [&](const FlyEntry& target, int bonus) {
    AimPoint aim = AimAt(target);
    aim.targets = TargetsAt(aim.x, aim.y);
    const int64_t distance = std::abs(aim.x - fromX) + std::abs(aim.y - fromY);
    // A target more is worth a long way; the wasp, which flies off, is worth hurrying for.
    const int64_t score = int64_t{aim.targets} * 400 + bonus - distance;
    if (aim.targets > 0 && score > bestScore) {
      bestScore = score;
      best = aim;
    }
  };
  for (int i = 0; i < FlyCount; ++i) {
    if (FlyTable[i].alive) consider(FlyTable[i], 0);
  }
  if (FlyTable[kWasp].alive) consider(FlyTable[kWasp], 300);
  return best;
}
