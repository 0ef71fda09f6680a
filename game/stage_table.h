// The ten stages: background, how many flies, how they move, and the time allowed.
#pragma once

#include <cstdint>

struct StageRow {
  const char* background;
  int32_t flyCount;
  int32_t moveMode;
  int32_t timeLimit;  // seconds
};

constexpr int kStages = 10;
constexpr int kBossStage = 10;
extern const StageRow StageTable[kStages];
