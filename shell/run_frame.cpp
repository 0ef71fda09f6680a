#include "shell/run_frame.h"

#include "input/keyboard.h"
#include "input/mouse_cursor.h"
#include "scores/highscore_screen.h"
#include "shell/frame_clock.h"
#include "shell/screens.h"

int RunFrame() {
  FrameClockStart();
  PollKeyboard();
  UpdateMouse();
  switch (CurrentScreen) {
    case ScreenTitle:
      return RunTitleFrame();
    case ScreenPlay:
      RunPlayFrame();
      break;
    case ScreenCredits:
      RunCreditsFrame();
      break;
    case ScreenHighscores:
      RunHighscoreFrame();
      break;
    case ScreenExit:
      RunExitFrame();
      break;
    default:
      break;
  }
  return 1;
}
