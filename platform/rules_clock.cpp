#include "platform/rules_clock.h"

namespace {

RulesClockHook rulesClockHook = nullptr;

}  // namespace

DWORD RulesTickCount() {
  const DWORD live = GetTickCount();
  return rulesClockHook != nullptr ? rulesClockHook(live) : live;
}

void SetRulesClockHook(RulesClockHook hook) { rulesClockHook = hook; }
