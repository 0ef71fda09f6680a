// The built game on a real X display (a private Xvfb): what a player sees and does, from the
// title to the end of the process, and the ways the desktop ends a game from outside.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <thread>

#include "tests/support/game_picture.h"
#include "tests/support/highscore_bytes.h"
#include "tests/support/real_game.h"
#include "tests/support/run_folder.h"
#include "tests/support/screen_checks.h"
#include "tests/support/xvfb_display.h"

namespace {

TEST(ShellRealWindow, TitleFollowsTheMouseAndEscapeThenAClickEndTheGameSavingTheTable) {
  XvfbDisplay display(1280, 1024);  // taller than 4:3: bars above and below, scaled by 2
  RealGame game(display);
  ASSERT_TRUE(game.Start());
  ASSERT_TRUE(
      game.WaitForScreen("the title, fly cursor at (0, 0)", TitleWithFlyCursorAt(game, 0, 0)));

  // Captured in relative mode: every mouse count is two pixels of the game's picture.
  game.MoveMouse(50, 40);
  ASSERT_TRUE(
      game.WaitForScreen("the title, fly cursor at (100, 80)", TitleWithFlyCursorAt(game, 100, 80)));

  game.PressKey("Escape");
  ASSERT_TRUE(game.WaitForScreen("the age-rating picture", ShowsPicture(game.Picture("fsk.bmp"))));
  game.Click(1);
  EXPECT_EQ(game.WaitForExit(), 0) << game.Output();
  EXPECT_EQ(FileBytes(game.Folder() / "Highscore.dat"), DefaultFileBytes());
}

enum class OutsideClose { WindowManager, Sigterm, Sighup };

const char* NameOf(OutsideClose close) {
  switch (close) {
    case OutsideClose::WindowManager:
      return "WindowManager";
    case OutsideClose::Sigterm:
      return "Sigterm";
    case OutsideClose::Sighup:
      return "Sighup";
  }
  return "";
}
void PrintTo(OutsideClose close, std::ostream* out) { *out << NameOf(close); }

class ShellRealWindowClose : public ::testing::TestWithParam<OutsideClose> {};

TEST_P(ShellRealWindowClose, EndsTheGameWithCodeZero) {
  XvfbDisplay display(1366, 768);  // wider than 4:3: bars left and right, a fractional scale
  RealGame game(display);
  ASSERT_TRUE(game.Start());
  const RealGame::ScreenCheck showsTitle = ShowsPicture(game.Picture("Start.bmp"));
  ASSERT_TRUE(game.WaitForScreen("the title", [&](const Image& screenshot) {
    ::testing::AssertionResult seen = BarsAreBlack(screenshot);
    return seen ? showsTitle(screenshot) : seen;
  }));
  if (GetParam() == OutsideClose::WindowManager) {
    game.SendWindowClose();
  } else {
    game.SendSignal(GetParam() == OutsideClose::Sigterm ? SIGTERM : SIGHUP);
  }
  EXPECT_EQ(game.WaitForExit(), 0) << game.Output();
  EXPECT_EQ(FileBytes(game.Folder() / "Highscore.dat"), DefaultFileBytes());
}

INSTANTIATE_TEST_SUITE_P(FromTheDesktop, ShellRealWindowClose,
                         ::testing::Values(OutsideClose::WindowManager, OutsideClose::Sigterm,
                                           OutsideClose::Sighup),
                         [](const auto& test) { return std::string(NameOf(test.param)); });

// SDL shows its box from a process of its own. Xvfb has no font for SDL's X11 box, so SDL
// shows it through zenity; a stand-in zenity waits as a box does for a click that never comes.
class ShellRealWindowErrorBox : public ::testing::TestWithParam<int> {};

bool ProcessGone(int pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string ignored;
  char state = 'Z';
  stat >> ignored >> ignored >> state;  // a zombie waits only for its reaper
  return state == 'Z';
}

TEST_P(ShellRealWindowErrorBox, ASignalEndsTheBoxWithTheGame) {
  const std::filesystem::path boxFolder = EnterRunFolder();
  const std::filesystem::path boxPid = boxFolder / "box.pid";
  std::filesystem::create_directory(boxFolder / "bin");
  std::ofstream(boxFolder / "bin" / "zenity")
      << "#!/bin/sh\ncase \"$1\" in --version) echo 3.44.0; exit 0;; esac\n"
      << "echo $$ > '" << boxPid.string() << "'\nexec sleep 300\n";
  std::filesystem::permissions(boxFolder / "bin" / "zenity", std::filesystem::perms::owner_all);

  XvfbDisplay display(800, 600);
  RealGame game(display, {{"SDL_AUDIODRIVER", "no-such-driver"},
                          {"PATH", (boxFolder / "bin").string() + ":" + std::getenv("PATH")}});
  ASSERT_TRUE(game.Start());
  int box = 0;
  for (int wait = 0; wait < 600 && box == 0; ++wait) {
    std::ifstream(boxPid) >> box;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  ASSERT_NE(box, 0) << "no box came up\n" << game.Output();
  EXPECT_NE(game.Output().find("Unable to Init DirectSound"), std::string::npos);

  game.SendSignal(GetParam());
  EXPECT_EQ(game.WaitForExit(), GetParam() == SIGKILL ? 128 + SIGKILL : 0) << game.Output();
  bool gone = false;
  for (int wait = 0; wait < 100 && !gone; ++wait) {
    gone = ProcessGone(box);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  EXPECT_TRUE(gone) << "the box outlived the game";
  if (!gone) kill(box, SIGKILL);
}

INSTANTIATE_TEST_SUITE_P(WhileItIsUp, ShellRealWindowErrorBox,
                         ::testing::Values(SIGTERM, SIGINT, SIGKILL),
                         [](const auto& test) { return std::string(sigabbrev_np(test.param)); });

}  // namespace
