#include "platform/seams/rules_clock.h"

#include <cstdint>

namespace {

RulesClockHook rulesClockHook = nullptr;
DWORD lastReading = 0;
DWORD lastLive = 0;   // the tick counter at the last reading
bool held = false;
DWORD heldSince = 0;  // the tick count the clock stands still at
DWORD unseen = 0;     // the milliseconds it stood still, all holds together

// Whether tick count a comes after b, across the counter's wrap.
bool Later(DWORD a, DWORD b) { return static_cast<int32_t>(a - b) > 0; }

}  // namespace

DWORD RulesTickCount() {
  lastLive = GetTickCount();
  const DWORD live = (held ? heldSince : lastLive) - unseen;
  lastReading = rulesClockHook != nullptr ? rulesClockHook(live) : live;
  return lastReading;
}

DWORD RulesTickLast() { return lastReading; }

DWORD RulesTickLastLive() { return lastLive; }

void SetRulesClockHook(RulesClockHook hook) { rulesClockHook = hook; }

void HoldRulesClock(DWORD at) {
  if (held) return;
  held = true;
  heldSince = Later(lastLive, at) ? lastLive : at;
}

void ReleaseRulesClock(DWORD at) {
  if (!held) return;
  held = false;
  if (Later(at, heldSince)) unseen += at - heldSince;
}
