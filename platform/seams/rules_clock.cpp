#include "platform/seams/rules_clock.h"

namespace {

RulesClockHook rulesClockHook = nullptr;
DWORD lastReading = 0;

}  // namespace

DWORD RulesTickCount() {
  const DWORD live = GetTickCount();
  lastReading = rulesClockHook != nullptr ? rulesClockHook(live) : live;
  return lastReading;
}

DWORD RulesTickLast() { return lastReading; }

void SetRulesClockHook(RulesClockHook hook) { rulesClockHook = hook; }
