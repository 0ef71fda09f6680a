// The frame loop of the whole program, run headless.
#include <SDL.h>
#include <gtest/gtest.h>

#include "graphics/display.h"
#include "platform/sdl/game_window.h"
#include "shell/win_main.h"
#include "tests/support/game_driver.h"
#include "tests/support/run_folder.h"

namespace {

size_t DesktopModeRequests() {
  size_t count = 0;
  for (const DisplayModeRequest& request : DisplayModeRequests()) {
    if (request.width == static_cast<DWORD>(Display.desktopWidth) &&
        request.height == static_cast<DWORD>(Display.desktopHeight) && request.bitsPerPixel == 32)
      ++count;
  }
  return count;
}

class FrameLoopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnterRunFolder();
    driver.Start();
    ASSERT_TRUE(driver.RunFlips(2));
  }

  // Runs the game to its end and counts the frames it flipped on the way.
  uint64_t FramesUntilTheEnd() {
    uint64_t before = HeadlessFrameCount();
    driver.RunUntil([] { return false; }, 10000);
    EXPECT_TRUE(driver.Finished());
    return HeadlessFrameCount() - before;
  }

  GameDriver driver;
};

TEST_F(FrameLoopTest, EveryPassRunsAFrameAndTakesAtMostOneMessage) {
  // Five paints and a close: six passes, each with its frame; the quit that the close brings
  // ends the loop with no frame after it.
  for (int i = 0; i < 5; ++i) PostWindowMessage(MainWindow, WM_PAINT, 0, 0);
  PostWindowMessage(MainWindow, WM_CLOSE, 0, 0);
  EXPECT_EQ(FramesUntilTheEnd(), 6u);
  EXPECT_EQ(driver.ExitCode(), 0);
}

TEST_F(FrameLoopTest, QuitRunsShutDownOnceAndGivesTheDesktopBack) {
  EXPECT_EQ(DesktopModeRequests(), 0u);
  PostWindowMessage(MainWindow, WM_CLOSE, 0, 0);
  FramesUntilTheEnd();
  EXPECT_EQ(driver.ExitCode(), 0);
  EXPECT_EQ(DesktopModeRequests(), 1u);
  EXPECT_EQ(Display.directDraw, nullptr);
  EXPECT_EQ(Display.backBuffer, nullptr);
  EXPECT_FALSE(WindowAlive(MainWindow));
}

TEST_F(FrameLoopTest, TheWindowManagersCloseEndsTheGame) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.event = SDL_WINDOWEVENT_CLOSE;
  event.window.windowID = SDL_GetWindowID(PlatformSdlWindow(MainWindow));
  SDL_PushEvent(&event);
  EXPECT_EQ(FramesUntilTheEnd(), 1u);
  EXPECT_EQ(driver.ExitCode(), 0);
  EXPECT_EQ(DesktopModeRequests(), 1u);
}

TEST_F(FrameLoopTest, FlipsArePacedLikeASixtyHertzDisplay) {
  uint32_t before = HeadlessClockNow();
  ASSERT_TRUE(driver.RunFlips(60));
  uint32_t elapsed = HeadlessClockNow() - before;
  EXPECT_GE(elapsed, 999u);
  EXPECT_LE(elapsed, 1001u);
}

}  // namespace
