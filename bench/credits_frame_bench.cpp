// One credits frame at the sweep's first row, where its 590 columns reach furthest down: the
// black screen, eighteen shadowed lines, a pixel lock and a fill per column, the flip. Beside
// it, in the same run: the same loop with no frame in it, and SDL doing the same itself.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/bench_game.h"
#include "bench/sdl_equivalents.h"
#include "graphics/display.h"
#include "shell/screens.h"

namespace {

constexpr int32_t kFirstSweepRow = 55;  // the frame draws the row after it

bool EnterCredits(benchmark::State& state) {
  if (!OpenBenchGame()) {
    state.SkipWithError("the game did not start");
    return false;
  }
  CurrentScreen = ScreenCredits;
  ScreenFirstFrame = false;
  return true;
}

void BM_CreditsFrame(benchmark::State& state) {
  if (!EnterCredits(state)) return;
  for (auto _ : state) {
    CreditsSweepRow = kFirstSweepRow;
    RunCreditsFrame();
  }
  if (CurrentScreen != ScreenCredits) state.SkipWithError("the credits were left");
}
BENCHMARK(BM_CreditsFrame);

void BM_CreditsFrameEmptyLoop(benchmark::State& state) {
  if (!EnterCredits(state)) return;
  for (auto _ : state) {
    CreditsSweepRow = kFirstSweepRow;
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CreditsFrameEmptyLoop);

// The same eighteen lines (as long as the game's), and the sweep as SDL would do it column by
// column: lock, read the row's pixel, unlock, fill the column.
void BM_SdlDrawsTheSameCreditsFrame(benchmark::State& state) {
  if (!EnterCredits(state)) return;
  SDL_Surface* screen = SdlScreen();
  std::vector<uint32_t> shown(640 * 480);
  constexpr const char* kLine = "Coordination Director : Quarrendel";
  const int row = kFirstSweepRow + 1;
  for (auto _ : state) {
    SDL_FillRect(screen, nullptr, 0);
    for (int line = 0; line < 18; ++line) SdlShadowText(screen, kLine, 50, 50 + 20 * line, 0xFFFF);
    for (int x = 50; x < 640; ++x) {
      SDL_LockSurface(screen);
      const auto* pixels = static_cast<const uint32_t*>(screen->pixels);
      const uint32_t pixel = pixels[row * screen->pitch / 4 + x];
      SDL_UnlockSurface(screen);
      SDL_Rect column{x, row, 1, 480 - row};
      SDL_FillRect(screen, &column, pixel);
    }
    SdlPresentInto(screen, shown.data());
    benchmark::DoNotOptimize(shown.data());
  }
  SDL_FreeSurface(screen);
}
BENCHMARK(BM_SdlDrawsTheSameCreditsFrame);

}  // namespace
