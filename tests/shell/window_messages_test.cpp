#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/sdl/game_window.h"
#include "platform/seams/headless.h"
#include "platform/win32/win.h"

namespace {

std::vector<UINT> seen;

LRESULT RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  seen.push_back(message);
  if (message == WM_DESTROY) PostQuitMessage(0);
  if (message == WM_CLOSE) return DefWindowProcA(window, message, wParam, lParam);
  return 0;
}

class WindowMessagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HeadlessEnable();
    seen.clear();
    WNDCLASSA windowClass;
    windowClass.lpfnWndProc = RecordingProc;
    windowClass.lpszClassName = "WINXCLASS";
    ASSERT_NE(RegisterClassA(&windowClass), 0);
    window = CreateWindowExA(0, "WINXCLASS", "Zimbrel", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600,
                             nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
  }

  // Takes every queued message, dispatching as the frame loop does; stops at WM_QUIT.
  std::vector<UINT> Drain() {
    std::vector<UINT> taken;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      taken.push_back(msg.message);
      if (msg.message == WM_QUIT) break;
      DispatchMessageA(&msg);
    }
    return taken;
  }

  HWND window = nullptr;
};

TEST_F(WindowMessagesTest, CreationAnnouncesItselfAndSetsTheClassAndCaption) {
  EXPECT_EQ(seen, std::vector<UINT>{WM_CREATE});
  EXPECT_STREQ(SDL_GetWindowTitle(PlatformSdlWindow(window)), "Zimbrel");
  EXPECT_STREQ(SDL_getenv("SDL_VIDEO_X11_WMCLASS"), "WINXCLASS");
  EXPECT_TRUE(WindowAlive(window));
  // The class is registered once only, and one game window exists.
  WNDCLASSA again;
  again.lpfnWndProc = RecordingProc;
  again.lpszClassName = "WINXCLASS";
  EXPECT_EQ(RegisterClassA(&again), 0);
  EXPECT_EQ(CreateWindowExA(0, "NOSUCHCLASS", "x", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                            nullptr),
            nullptr);
}

TEST_F(WindowMessagesTest, PeekTakesOneMessagePerCallWithoutWaiting) {
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  PostWindowMessage(window, WM_PAINT, 0, 0);
  PostWindowMessage(window, WM_PAINT, 0, 0);
  EXPECT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_PAINT);
  EXPECT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(WindowMessagesTest, CloseDestroysTheWindowAndQuitFollows) {
  SendMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(seen, (std::vector<UINT>{WM_CREATE, WM_CLOSE, WM_DESTROY}));
  EXPECT_FALSE(WindowAlive(window));
  EXPECT_EQ(Drain(), std::vector<UINT>{WM_QUIT});
  // A destroyed window hears nothing more.
  SendMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(seen.size(), 3u);
}

TEST_F(WindowMessagesTest, TheWindowManagersCloseAndExposeBecomeMessages) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.windowID = SDL_GetWindowID(PlatformSdlWindow(window));
  event.window.event = SDL_WINDOWEVENT_EXPOSED;
  SDL_PushEvent(&event);
  event.window.event = SDL_WINDOWEVENT_CLOSE;
  SDL_PushEvent(&event);
  EXPECT_EQ(Drain(), (std::vector<UINT>{WM_PAINT, WM_CLOSE, WM_QUIT}));
  EXPECT_EQ(seen, (std::vector<UINT>{WM_CREATE, WM_PAINT, WM_CLOSE, WM_DESTROY}));
}

TEST_F(WindowMessagesTest, ASignalToQuitClosesTheWindowLikeTheSystemClose) {
  SDL_Event event{};
  event.type = SDL_QUIT;
  SDL_PushEvent(&event);
  EXPECT_EQ(Drain(), (std::vector<UINT>{WM_CLOSE, WM_QUIT}));
}

TEST(ErrorBoxTest, HeadlessBoxesAreRecordedWithCaptionTextAndStyle) {
  HeadlessEnable();
  MessageBoxA(nullptr, "Unable to Init DirectDraw", "Fehler Fehler Fehler !!!", MB_ICONWARNING);
  ASSERT_EQ(HeadlessMessageBoxes().size(), 1u);
  EXPECT_EQ(HeadlessMessageBoxes()[0].caption, "Fehler Fehler Fehler !!!");
  EXPECT_EQ(HeadlessMessageBoxes()[0].text, "Unable to Init DirectDraw");
  EXPECT_EQ(HeadlessMessageBoxes()[0].style, 0x30u);
}

TEST(TickCounterTest, HeadlessTicksComeFromTheVirtualClock) {
  HeadlessEnable();
  HeadlessClockSet(0xFFFFFFFFu);
  EXPECT_EQ(GetTickCount(), 0xFFFFFFFFu);
  EXPECT_EQ(GetTickCount(), 0u);  // 32 bits, wrapping
}

}  // namespace
