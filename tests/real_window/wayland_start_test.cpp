// The game on a Wayland desktop, natively: Weston with only WAYLAND_DISPLAY set for the game
// (no DISPLAY, so neither X11 nor Xwayland). The window names itself by the desktop entry's
// id, which is how the desktop finds our icon and name, and the title shows.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include "tools/art/bmp_file.h"
#include "tests/support/child_process.h"
#include "tests/support/game_picture.h"
#include "tests/support/real_game.h"
#include "tests/support/run_folder.h"
#include "tests/support/weston_display.h"
#include "tests/support/xvfb_display.h"

namespace fs = std::filesystem;

namespace {

// The cursor starts in the top-left corner; the rest of the picture is the title's own.
constexpr GameRect kBelowTheCursor{0, 64, kGameWidth, kGameHeight - 64};

std::string FileText(const fs::path& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

TEST(WaylandStart, TheGameRunsNativelyNamedByItsDesktopEntryAndShowsTheTitle) {
  XvfbDisplay host(kGameWidth, kGameHeight);
  WestonDisplay desktop(host, kGameWidth, kGameHeight);
  ASSERT_TRUE(desktop.Ready()) << desktop.Error();
  const fs::path folder = EnterRunFolder();
  const std::optional<Image> title = ReadBmp24((folder / "gfx" / "Start.bmp").string());
  ASSERT_TRUE(title.has_value());

  // WAYLAND_DEBUG has libwayland write every request the game makes to standard error. As in
  // the X11 real-window tests, a sanitized game keeps its error checks but not its leak
  // report: SDL's libdecor frame and the GL driver it unloads leave blocks that are not ours.
  const char* sanitizerOptions = std::getenv("ASAN_OPTIONS");
  ChildProcess game;
  ChildProcess::Options options;
  options.command = {std::string(ZIMBREL_RUN_DIR) + "/zimbrel", "--mute"};
  options.environment = desktop.ClientEnvironment(
      {{"WAYLAND_DEBUG", "client"},
       {"ASAN_OPTIONS", std::string(sanitizerOptions ? sanitizerOptions : "") + ":detect_leaks=0"}});
  options.workingDirectory = folder;
  options.outputFile = folder / "game.out";
  options.errorFile = folder / "game.err";
  std::string error;
  ASSERT_TRUE(game.Start(options, &error)) << error;

  const RealGame::ScreenCheck showsTitle = ShowsPicture(*title, kBelowTheCursor);
  const fs::path kept = fs::path(ZIMBREL_RUN_DIR).parent_path() / "wayland-title.png";
  ::testing::AssertionResult shown = ::testing::AssertionFailure() << "no screenshot taken";
  const auto patience = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!shown && game.Running() && std::chrono::steady_clock::now() < patience) {
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    if (const std::optional<Image> screenshot = desktop.Screenshot(kept)) {
      shown = showsTitle(*screenshot);
    }
  }
  EXPECT_TRUE(shown) << "last screenshot: " << kept << "\n" << FileText(folder / "game.out");

  const std::string requests = FileText(folder / "game.err");
  EXPECT_NE(requests.find(".set_app_id(\"" ZIMBREL_APP_ID "\")"), std::string::npos);
  EXPECT_NE(requests.find(".set_title(\"Zimbrel\")"), std::string::npos);
  game.Signal(SIGTERM);
  EXPECT_EQ(game.WaitForExit(std::chrono::seconds(30)), 0);
}

}  // namespace
