#include "bench/busy_boss_stage.h"

#include <cstdio>

#include "bench/bench_game.h"
#include "game/stage_table.h"
#include "game/start_stage.h"
#include "shell/run_frame.h"
#include "shell/screens.h"

namespace {

// Into play as a player gets there (a new game's stage 1, its intro clicked away), then stage
// 10 started by the game itself, and its field filled.
bool EnterBusyBossStage(PlayMoment* moment) {
  if (!OpenBenchGame()) return false;
  CurrentScreen = ScreenPlay;
  ScreenFirstFrame = true;
  ClickAtNextMouseRead();
  RunFrame();
  Stage = kBossStage;
  ClickAtNextMouseRead();
  StartStage();
  for (int i = 0; i < FlyCount; ++i) FlyTable[i].alive = 1;
  FlyTable[kWasp] = FlyEntry{560, 200, 1, 0};
  FlyTable[kCreamBlob] = FlyEntry{300, 300, 1, 0};
  // Swatter parked away from the field, the intro's click let go.
  Cursor.x = 600;
  Cursor.y = 440;
  if (FlyCount != kFlyEntries || CurrentScreen != ScreenPlay) {
    std::fprintf(stderr, "bench: stage %d has %d flies on screen %d\n", Stage, FlyCount,
                 CurrentScreen);
    return false;
  }
  moment->Take();
  return true;
}

}  // namespace

PlayMoment& BusyBossStage() {
  static PlayMoment moment;
  static const bool ready = EnterBusyBossStage(&moment);
  (void)ready;
  return moment;
}
