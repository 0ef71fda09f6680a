#include "bench/bench_game.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "platform/sdl/scripted_input.h"
#include "platform/seams/headless.h"
#include "platform/seams/headless_window.h"
#include "replay/scratch_folder.h"
#include "shell/startup.h"
#include "shell/win_main.h"

namespace fs = std::filesystem;

namespace {

std::optional<ScratchFolder> scratch;

void LeaveTheScratchFolder() { LeaveScratchFolder(*scratch); }

// The replay tool's scratch folder, gfx/ and snd/ linked from the build's runnable folder: so
// that nothing the game writes lands in the build.
bool EnterTheScratchFolder() {
  std::error_code failed;
  fs::current_path(ZIMBREL_RUN_DIR, failed);
  std::string error = std::string(ZIMBREL_RUN_DIR) + ": " + failed.message();
  if (!failed) scratch = EnterScratchFolder(&error);
  if (!scratch) {
    std::fprintf(stderr, "bench: %s\n", error.c_str());
    return false;
  }
  std::atexit(LeaveTheScratchFolder);
  return true;
}

// What WinMain does before its loop, less the loop.
bool StartGame() {
  HeadlessEnable();
  ScriptedInputInstall();
  if (!EnterTheScratchFolder()) return false;
  MainWindow = OpenHeadlessWindow(WindowProc, WS_POPUP | WS_VISIBLE);
  if (MainWindow == nullptr || !StartUp()) {
    std::fprintf(stderr, "bench: the game did not start in %s\n", scratch->folder.c_str());
    return false;
  }
  return true;
}

}  // namespace

bool OpenBenchGame() {
  static const bool started = StartGame();
  return started;
}

void ClickAtNextMouseRead() {
  ScheduleScriptedInput(YieldPoint::MouseRead, 1, ScriptMouseButton(0, true));
  ScheduleScriptedInput(YieldPoint::MouseRead, 1, ScriptMouseButton(0, false));
}
