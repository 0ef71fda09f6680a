// The display's failures and its 24-bit mode seen through the whole program, run headless.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game_driver.h"
#include "graphics/display.h"
#include "graphics/pixels.h"
#include "shell/win_main.h"

namespace {

struct FailingSteps {
  std::vector<const char*> steps;
  const char* message;
};

class StartUpDisplayFails : public ::testing::TestWithParam<FailingSteps> {};

TEST_P(StartUpDisplayFails, ShowsOneBoxAndEnds) {
  GameDriver driver;
  for (const char* step : GetParam().steps) HeadlessFailStep(step);
  driver.Start();
  driver.RunUntil([] { return false; }, 1000);
  ASSERT_TRUE(driver.Finished());
  EXPECT_EQ(driver.ExitCode(), 0);
  ASSERT_EQ(HeadlessMessageBoxes().size(), 1u);
  EXPECT_EQ(HeadlessMessageBoxes()[0].caption, "Fehler Fehler Fehler !!!");
  EXPECT_EQ(HeadlessMessageBoxes()[0].text, GetParam().message);
  EXPECT_EQ(HeadlessFrameCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, StartUpDisplayFails,
    ::testing::Values(
        FailingSteps{{"DirectDrawCreateEx"}, "Unable to Init DirectDraw"},
        FailingSteps{{"SetCooperativeLevel"}, "Unable to Set Coorporation Level"},
        FailingSteps{{"SetDisplayMode32", "SetDisplayMode24"}, "Unable to set Display Mode"},
        FailingSteps{{"CreatePrimarySurface"}, "Unable to create Primary Surface"},
        FailingSteps{{"GetAttachedSurface"}, "Unable to create BackBuffer"}),
    [](const ::testing::TestParamInfo<FailingSteps>& param) {
      return std::string(param.param.steps.back());
    });

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
