// Alt+Enter twice on an X server with no window manager (the test's own Xvfb has none): nobody
// answers the full-screen request there, and the game must still fill the screen again with
// its whole picture, not a zoomed and cropped corner of it.
#include <gtest/gtest.h>

#include "tests/support/real_game.h"
#include "tests/support/screen_checks.h"

namespace {

TEST(RealWindowFullScreen, BackFromAWindowWithoutAWindowManagerTheWholePictureFillsTheScreen) {
  XvfbDisplay display(1366, 768);  // a window is 640 x 480 there, full screen 1024 x 768
  ASSERT_TRUE(display.Ready()) << display.Error();
  RealGame game(display);
  ASSERT_TRUE(game.Start());
  ASSERT_TRUE(
      game.WaitForScreen("the title, fly cursor at (0, 0)", TitleWithFlyCursorAt(game, 0, 0)));
  const RealGame::ScreenCheck fullTitle = TitleWithFlyCursorAt(game, 0, 0);
  game.PressKey("alt+Return");
  ASSERT_TRUE(game.WaitForScreen("the title in a window", [&](const Image& screenshot) {
    if (fullTitle(screenshot)) return ::testing::AssertionFailure() << "still over the screen";
    return ::testing::AssertionSuccess();
  }));
  game.PressKey("alt+Return");
  ASSERT_TRUE(game.WaitForScreen("the whole title over the screen again",
                                 fullTitle));
  game.PressKey("Escape");
  ASSERT_TRUE(game.WaitForScreen("the age-rating picture", ShowsPicture(game.Picture("fsk.bmp"))));
  game.Click(1);
  EXPECT_EQ(game.WaitForExit(), 0) << game.Output();
}

}  // namespace
