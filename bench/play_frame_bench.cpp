// One play frame of the boss stage at its busiest: fifty flies out, the boss, the wasp and a
// blob of cream; its rules, its drawing and its flip, headless and unpaced. Beside it, in the
// same run: the same loop with no frame in it, and SDL drawing the same pictures itself.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

#include "bench/bench_game.h"
#include "bench/busy_boss_stage.h"
#include "bench/sdl_equivalents.h"
#include "game/draw_play_frame.h"
#include "game/play_state.h"
#include "game/stage_table.h"
#include "game/start_stage.h"
#include "game/update_play_frame.h"
#include "graphics/display.h"
#include "input/mouse_cursor.h"
#include "platform/seams/headless.h"
#include "scores/highscore_table.h"
#include "shell/run_frame.h"
#include "shell/screens.h"

namespace {

bool Ready(benchmark::State& state) {
  BusyBossStage();
  if (OpenBenchGame() && Stage == kBossStage && CurrentScreen == ScreenPlay) return true;
  state.SkipWithError("the game could not be brought to the boss stage");
  return false;
}

void BM_PlayFrameBossStage(benchmark::State& state) {
  if (!Ready(state)) return;
  const PlayMoment& moment = BusyBossStage();
  for (auto _ : state) {
    state.PauseTiming();
    moment.Restore();
    state.ResumeTiming();
    UpdatePlayFrame();
    DrawPlayFrame();
  }
  // A frame that left the stage would have measured something else.
  if (CurrentScreen != ScreenPlay || Stage != kBossStage) state.SkipWithError("the stage ended");
}
BENCHMARK(BM_PlayFrameBossStage);

// The floor of the frame's loop: the same restore between timings, and no frame.
void BM_PlayFrameEmptyLoop(benchmark::State& state) {
  if (!Ready(state)) return;
  const PlayMoment& moment = BusyBossStage();
  for (auto _ : state) {
    state.PauseTiming();
    moment.Restore();
    state.ResumeTiming();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PlayFrameEmptyLoop);

// SDL alone drawing what the frame draws: the background, the boss, fifty flies, the wasp,
// the blob, the swatter, the head-up display's texts, and the frame converted as a flip is.
void BM_SdlDrawsTheSamePlayFrame(benchmark::State& state) {
  if (!Ready(state)) return;
  SDL_Surface* screen = SdlScreen();
  SDL_Surface* background = SdlCopyOf(ImageSlots[0]);
  SDL_Surface* boss = SdlCopyOf(ImageSlots[29]);
  SDL_Surface* flies[3] = {SdlCopyOf(ImageSlots[1]), SdlCopyOf(ImageSlots[2]),
                           SdlCopyOf(ImageSlots[3])};
  SDL_Surface* wasp = SdlCopyOf(ImageSlots[27]);
  SDL_Surface* cream = SdlCopyOf(ImageSlots[5]);
  SDL_Surface* swatter = SdlCopyOf(CursorImages.images[0]);
  std::vector<uint32_t> shown(640 * 480);
  auto blit = [&](SDL_Surface* picture, int x, int y) {
    SDL_Rect to{x, y, picture->w, picture->h};
    SDL_BlitSurface(picture, nullptr, screen, &to);
  };
  for (auto _ : state) {
    blit(background, 0, 0);
    blit(boss, 100, 0);
    for (int i = 0; i < kFlyEntries; ++i) {
      blit(flies[FlyTable[i].frame], FlyTable[i].x, FlyTable[i].y);
    }
    blit(wasp, FlyTable[kWasp].x, FlyTable[kWasp].y);
    blit(cream, FlyTable[kCreamBlob].x, FlyTable[kCreamBlob].y);
    blit(swatter, Cursor.x, Cursor.y);
    SdlShadowText(screen, "0", 300, 3, 0xFFFF);
    blit(cream, 3, 3);
    SdlShadowText(screen, "x", 40, 3, 0xFFFF);
    SdlShadowText(screen, "0", 65, 3, 0xFF);
    SdlShadowText(screen, "60", 600, 3, 0xFF);
    SdlShadowText(screen, "Boss : 50", 260, 450, 0xFF);
    SdlPresentInto(screen, shown.data());
    benchmark::DoNotOptimize(shown.data());
  }
  for (SDL_Surface* surface :
       {screen, background, boss, flies[0], flies[1], flies[2], wasp, cream, swatter}) {
    SDL_FreeSurface(surface);
  }
}
BENCHMARK(BM_SdlDrawsTheSamePlayFrame);

}  // namespace
