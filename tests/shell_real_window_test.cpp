// The built game on a real X display (a private Xvfb): what a player sees and does, from the
// title to the end of the process, and the ways the desktop ends a game from outside.
#include <gtest/gtest.h>
#include <signal.h>

#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "game_picture.h"
#include "real_game.h"
#include "xvfb_display.h"

namespace {

constexpr int kFlyCursorSize = 32;  // the fly pictures are 32 x 32

std::vector<char> FileBytes(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Ten rows of 40 bytes: the name "---" with its terminating zero, then a zero score and tally.
std::vector<char> DefaultHighscoreFile() {
  std::vector<char> bytes(400, 0);
  for (int row = 0; row < 10; ++row) {
    for (int i = 0; i < 3; ++i) bytes[row * 40 + i] = '-';
  }
  return bytes;
}

::testing::AssertionResult BarsAreBlack(const Image& screenshot) {
  const int brightest = BrightestOutsidePicture(screenshot);
  if (brightest == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "a channel of " << brightest << " outside the picture";
}

// The title picture over the whole frame, black bars around it, and the fly cursor, in any
// of its three pictures, with its top-left corner at `x`, `y`.
RealGame::ScreenCheck TitleWithFlyCursorAt(const RealGame& game, int x, int y) {
  const Image title = game.Picture("Start.bmp");
  std::vector<Image> framesWithFly;
  for (const char* fly : {"Fly1.bmp", "Fly2.bmp", "Fly3.bmp"}) {
    framesWithFly.push_back(WithSprite(title, game.Picture(fly), x, y));
  }
  const GameRect cursor{x, y, kFlyCursorSize, kFlyCursorSize};
  return [framesWithFly, cursor](const Image& screenshot) {
    ::testing::AssertionResult seen = BarsAreBlack(screenshot);
    if (!seen) return seen;
    for (const Image& frame : framesWithFly) {
      seen = ShowsPicture(frame)(screenshot);
      if (seen) seen = ShowsPicture(frame, cursor)(screenshot);
      if (seen) return seen;
    }
    return seen;
  };
}

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
  EXPECT_EQ(FileBytes(game.Folder() / "Highscore.dat"), DefaultHighscoreFile());
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
  EXPECT_EQ(FileBytes(game.Folder() / "Highscore.dat"), DefaultHighscoreFile());
}

INSTANTIATE_TEST_SUITE_P(FromTheDesktop, ShellRealWindowClose,
                         ::testing::Values(OutsideClose::WindowManager, OutsideClose::Sigterm),
                         [](const auto& test) { return std::string(NameOf(test.param)); });

}  // namespace
