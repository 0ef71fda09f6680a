// The built game started where no display can be opened at all.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/file_bytes.h"
#include "tests/support/run_folder.h"

namespace {

namespace fs = std::filesystem;

bool NamesADisplay(const std::string& entry) {
  for (const char* name : {"DISPLAY=", "WAYLAND_DISPLAY=", "SDL_VIDEODRIVER="}) {
    if (entry.rfind(name, 0) == 0) return true;
  }
  return false;
}

// SDL would fall back to a driver that shows nothing and run the game where nobody sees it.
TEST(NoDisplay, TheGameEndsAtOnceSayingWhyInOneLine) {
  const fs::path folder = EnterRunFolder();
  std::vector<std::string> environment;
  for (const std::string& entry :
       EnvironmentWith({{"SDL_AUDIODRIVER", "dummy"}, {"ASAN_OPTIONS", "detect_leaks=0"}})) {
    if (!NamesADisplay(entry)) environment.push_back(entry);
  }
  ChildProcess::Options options;
  options.command = {std::string(ZIMBREL_RUN_DIR) + "/zimbrel"};
  options.environment = environment;
  options.workingDirectory = folder;
  options.outputFile = folder / "output.txt";
  options.errorFile = folder / "errors.txt";
  EXPECT_EQ(RunToItsEnd(options, std::chrono::seconds(60)).exitCode, 0);
  EXPECT_EQ(FileLines(folder / "errors.txt"),
            std::vector<std::string>{
                "Zimbrel: no display to open: neither DISPLAY nor WAYLAND_DISPLAY is set"});
}

}  // namespace
