// The display's 24-bit mode seen through the whole program, run headless.
#include <gtest/gtest.h>

#include <string>

#include "graphics/display.h"
#include "graphics/pixels.h"
#include "shell/win_main.h"
#include "tests/support/game_driver.h"
#include "tools/capture/frame_png.h"

namespace {

TEST(StartUpDisplay, PlaysAt24BitsAndGivesTheDesktopBackAt32) {
  GameDriver driver;
  HeadlessFailStep("SetDisplayMode32");
  driver.Start();
  ASSERT_TRUE(driver.RunFlips(3));
  EXPECT_TRUE(HeadlessMessageBoxes().empty());
  EXPECT_EQ(HeadlessLastFrame().width, 640);
  WriteFramePng(HeadlessLastFrame(), std::string(ZIMBREL_RUN_DIR) + "/../frame_at_24_bits.png");
  ASSERT_NE(LockPixels(Display.backBuffer), nullptr);
  EXPECT_EQ(Display.surfaceDesc.ddpfPixelFormat.dwRGBBitCount, 24u);
  UnlockPixels(Display.backBuffer);

  PostWindowMessage(MainWindow, WM_CLOSE, 0, 0);
  driver.RunUntil([] { return false; });
  ASSERT_TRUE(driver.Finished());
  EXPECT_EQ(driver.ExitCode(), 0);
  const DisplayModeRequest& last = DisplayModeRequests().back();
  EXPECT_EQ(last.width, static_cast<DWORD>(GetSystemMetrics(SM_CXSCREEN)));
  EXPECT_EQ(last.height, static_cast<DWORD>(GetSystemMetrics(SM_CYSCREEN)));
  EXPECT_EQ(last.bitsPerPixel, 32u);
  EXPECT_EQ(Display.directDraw, nullptr);
}

}  // namespace
