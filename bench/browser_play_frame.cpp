// The busy boss-stage play frame timed in a browser, where Google Benchmark does not run: the
// same moment as the desktop's bench, restored before each frame (untimed), and batches of
// frames timed with the page's clock. Prints each batch's milliseconds a frame and the median.
#include <emscripten.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/bench_game.h"
#include "bench/busy_boss_stage.h"
#include "game/draw_play_frame.h"
#include "game/stage_table.h"
#include "game/update_play_frame.h"
#include "shell/screens.h"

int main() {
  constexpr int kBatches = 9;
  constexpr int kFrames = 200;
  const PlayMoment& moment = BusyBossStage();
  if (!OpenBenchGame() || Stage != kBossStage || CurrentScreen != ScreenPlay) {
    std::printf("play frame: the game could not be brought to the boss stage\n");
    return 1;
  }
  std::vector<double> perFrame;
  for (int batch = 0; batch < kBatches; ++batch) {
    double total = 0;
    for (int frame = 0; frame < kFrames; ++frame) {
      moment.Restore();
      const double start = emscripten_get_now();
      UpdatePlayFrame();
      DrawPlayFrame();
      total += emscripten_get_now() - start;
    }
    perFrame.push_back(total / kFrames);
    std::printf("play frame: batch %d, %.3f ms a frame\n", batch, perFrame.back());
  }
  if (CurrentScreen != ScreenPlay || Stage != kBossStage) {
    std::printf("play frame: the stage ended, which measured something else\n");
    return 1;
  }
  std::sort(perFrame.begin(), perFrame.end());
  std::printf("play frame: median %.3f ms\n", perFrame[kBatches / 2]);
  return 0;
}
