// Faults that strike while a game is played, through the whole program: the sound device
// lost, the focus lost with a key and the button held, and the window closed while the game
// waits for a click. The game plays on, nothing stays held, and a close ends the game once
// the wait is over, with the table on the disk.
#include <SDL.h>

#include <chrono>
#include <thread>

#include "input/keyboard.h"
#include "platform/sdl/game_window.h"
#include "shell/win_main.h"
#include "tests/support/disk_refusal.h"
#include "tests/support/highscore_bytes.h"
#include "tests/support/play_session.h"
#include "tests/support/state_line_fields.h"

namespace {

namespace fs = std::filesystem;

class PlayFaults : public PlaySession {
 protected:
  // Reads and flips the game runs through without ending.
  bool RunsOnFor(int yields) {
    int seen = 0;
    driver_.RunUntil([&] { return ++seen == yields; });
    return !driver_.Finished();
  }
  static void CloseTheWindow() {
    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    close.window.windowID = SDL_GetWindowID(PlatformSdlWindow(MainWindow));
    SDL_PushEvent(&close);
  }
  // Surrender with Escape, through its OK box and, for a game that scored, past its name in
  // the table, onto the title; then out by the exit picture.
  void SurrenderAndLeave(bool scored) {
    Tap(DIK_ESCAPE);
    Frames(1);
    ClickOk();
    if (scored) {
      EXPECT_EQ(CurrentScreen, ScreenHighscores);
      Tap(DIK_ESCAPE);
      Frames(2);
    }
    EXPECT_EQ(CurrentScreen, ScreenTitle);
    Tap(DIK_ESCAPE);
    Frames(2);
    ClickLeft();
    RunToTheEnd();
    EXPECT_EQ(driver_.ExitCode(), 0);
  }
};

// Focus lost in the middle of a swat, with a letter key and the left button held; both are let
// go in another window. Back in the game, nothing reads as held: a click swats again, and a
// surrender's wait for every key up ends.
TEST_F(PlayFaults, AFocusLostAndRegainedLeavesNoKeyOrButtonHeld) {
  StartPlaying();
  ParkFlies();
  Hold(DIK_A);
  PressLeft();
  Frames(2);
  ASSERT_TRUE(Cursor.swatActive);
  ASSERT_TRUE(KeyHeld(DIK_A));
  PushScriptedInput(ScriptFocus(false));
  Frames(12);
  PushScriptedInput(ScriptFocus(true));
  Frames(2);
  EXPECT_FALSE(Cursor.swatActive);
  EXPECT_EQ(MouseState.rgbButtons[0], 0);
  for (int code = 0; code < 256; ++code) EXPECT_EQ(KeyboardState[code], 0) << code;
  ClickLeft();
  Frames(1);
  EXPECT_TRUE(Cursor.swatActive);
  Frames(12);
  SurrenderAndLeave(false);
}

// SDL's disk driver stands in for a sound card; the disk refusing its bytes unplugs it, as
// SDL does with any device that fails. The game plays on and ends, and nothing more is played.
TEST_F(PlayFaults, TheSoundDeviceLostMidStageLeavesTheGameRunningSilently) {
  EnterRunFolder();  // a folder for the device's file, gone with the test's process
  const fs::path output = fs::absolute("device.raw");
  SDL_setenv("SDL_AUDIODRIVER", "disk", 1);
  SDL_setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
  StartPlaying();
  SDL_AudioDeviceID device = 0;
  for (SDL_AudioDeviceID id = 1; id < 16 && device == 0; ++id) {
    if (SDL_GetAudioDeviceStatus(id) != SDL_AUDIO_STOPPED) device = id;
  }
  ASSERT_NE(device, 0u) << "no open sound device";
  const auto played = [&] { return fs::exists(output) ? fs::file_size(output) : 0; };
  for (int wait = 0; wait < 200 && played() == 0; ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ASSERT_GT(played(), 0u);

  {
    DiskRefusal refusal;
    ASSERT_TRUE(refusal.Active());
    for (int wait = 0; wait < 250 && SDL_GetAudioDeviceStatus(device) != SDL_AUDIO_STOPPED;
         ++wait) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  ASSERT_EQ(SDL_GetAudioDeviceStatus(device), SDL_AUDIO_STOPPED) << "the device never failed";
  const auto lost = played();

  // Swats, hits and buzzing flies for two seconds of the stage; the same fly brought back to
  // life for each, so that the stage goes on.
  for (int swat = 0; swat < 8; ++swat) {
    PutFlyUnderSwatter(0, Cursor.x, Cursor.y);
    Swat();
    Rearm();
  }
  Frames(60);
  EXPECT_EQ(IntField(Line(), "screen"), ScreenPlay);
  EXPECT_GT(IntField(Line(), "score"), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(played(), lost);
  SurrenderAndLeave(true);
  EXPECT_EQ(FileBytes("Highscore.dat"), TableBytes());
}

// A close from outside while the game waits for a click: it waits in the queue, and the game
// ends after the click. A game that has just ended is not entered: the close comes before its
// name, so the run has nothing to keep and writes no table.
enum class Wait { StageIntro, OkBox, ClosingPicture };

class CloseDuringAWait : public PlayFaults, public ::testing::WithParamInterface<Wait> {};

TEST_P(CloseDuringAWait, EndsTheGameOnceTheWaitIsOver) {
  StartPlaying();
  fs::remove("Highscore.dat");
  if (GetParam() == Wait::StageIntro) {
    WinStageToIntro();  // stage 2's intro
  } else if (GetParam() == Wait::OkBox) {
    for (int i = 0; i < FlyCount; ++i) FlyTable[i].alive = 0;
    Frames(1);
  } else {
    PlayFromStage(10);
    BossEnergy = 0;
    Frames(1);  // the boss's OK box
    ClickOk();  // the closing picture
  }
  CloseTheWindow();
  EXPECT_TRUE(RunsOnFor(200));
  if (GetParam() == Wait::OkBox) {
    ClickOk();  // the next stage's intro: the close still waits
    EXPECT_TRUE(RunsOnFor(200));
  }
  ClickLeft();
  RunToTheEnd();
  EXPECT_EQ(driver_.ExitCode(), 0);
  EXPECT_EQ(FileBytes("Highscore.dat"), DefaultFileBytes());
}

std::string WaitName(Wait wait) {
  switch (wait) {
    case Wait::StageIntro: return "StageIntro";
    case Wait::OkBox: return "OkBox";
    case Wait::ClosingPicture: return "ClosingPicture";
  }
  return "";
}
void PrintTo(Wait wait, std::ostream* out) { *out << WaitName(wait); }

INSTANTIATE_TEST_SUITE_P(Close, CloseDuringAWait,
                         ::testing::Values(Wait::StageIntro, Wait::OkBox, Wait::ClosingPicture),
                         [](const ::testing::TestParamInfo<Wait>& param) {
                           return WaitName(param.param);
                         });

}  // namespace
