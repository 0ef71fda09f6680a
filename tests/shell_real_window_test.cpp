// The built game on a real X display (a private Xvfb): what a player sees and does, from the
// title to the end of the process, and the ways the desktop ends a game from outside.
#include <gtest/gtest.h>
#include <signal.h>

#include <ostream>
#include <string>

#include "game_picture.h"
#include "highscore_bytes.h"
#include "real_game.h"
#include "screen_checks.h"
#include "xvfb_display.h"

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

enum class OutsideClose { WindowManager, Sigterm };

const char* NameOf(OutsideClose close) {
  return close == OutsideClose::WindowManager ? "WindowManager" : "Sigterm";
}
void PrintTo(OutsideClose close, std::ostream* out) { *out << NameOf(close); }

class ShellRealWindowClose : public ::testing::TestWithParam<OutsideClose> {};

TEST_P(ShellRealWindowClose, EndsTheGameWithCodeZeroAndSavesTheTable) {
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
    game.SendSignal(SIGTERM);
  }
  EXPECT_EQ(game.WaitForExit(), 0) << game.Output();
  EXPECT_EQ(FileBytes(game.Folder() / "Highscore.dat"), DefaultFileBytes());
}

INSTANTIATE_TEST_SUITE_P(FromTheDesktop, ShellRealWindowClose,
                         ::testing::Values(OutsideClose::WindowManager, OutsideClose::Sigterm),
                         [](const auto& test) { return std::string(NameOf(test.param)); });

}  // namespace
