#include "bench/bench_game.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/seams/headless.h"
#include "platform/sdl/scripted_input.h"
#include "shell/startup.h"
#include "shell/win_main.h"

namespace fs = std::filesystem;

namespace {

fs::path scratchFolder;

void RemoveScratchFolder() {
  std::error_code ignored;
  fs::remove_all(scratchFolder, ignored);
}

// gfx/ and snd/ linked from the build, so that nothing the game writes lands in the build.
bool EnterScratchFolder() {
  std::string pattern = (fs::temp_directory_path() / "zimbrel-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return false;
  scratchFolder = pattern;
  std::atexit(RemoveScratchFolder);
  std::error_code failed;
  for (const char* sub : {"gfx", "snd"}) {
    fs::create_directory_symlink(fs::path(ZIMBREL_RUN_DIR) / sub, scratchFolder / sub, failed);
    if (failed) return false;
  }
  fs::current_path(scratchFolder, failed);
  return !failed;
}

// What WinMain does before its loop, less the loop.
bool StartGame() {
  HeadlessEnable();
  ScriptedInputInstall();
  if (!EnterScratchFolder()) {
    std::fprintf(stderr, "bench: cannot make a scratch folder beside %s\n", ZIMBREL_RUN_DIR);
    return false;
  }
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.lpszClassName = "WINXCLASS";
  if (!RegisterClassA(&windowClass)) return false;
  MainWindow = CreateWindowExA(0, "WINXCLASS", "Zimbrel", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480,
                               nullptr, nullptr, nullptr, nullptr);
  if (MainWindow == nullptr || !StartUp()) {
    std::fprintf(stderr, "bench: the game did not start in %s\n", scratchFolder.c_str());
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
