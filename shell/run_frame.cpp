#include "shell/run_frame.h"

#include "input/keyboard.h"
#include "input/mouse_cursor.h"
#include "platform/seams/screen_offers.h"
#include "scores/highscore_screen.h"
#include "shell/frame_clock.h"
#include "shell/screens.h"

namespace {

// Escape gives up a game and leaves the credits and the table; a name is typed on the table.
void NoteOffers() {
  EscapeOffer escape = EscapeOffer::None;
  if (CurrentScreen == ScreenPlay) {
    escape = EscapeOffer::GiveUp;
  } else if (CurrentScreen == ScreenCredits || CurrentScreen == ScreenHighscores) {
    escape = EscapeOffer::Back;
  }
  NoteScreenOffers(escape, CurrentScreen == ScreenHighscores && NameEntryActive);
}

}  // namespace

int RunFrame() {
  FrameClockStart();
  PollKeyboard();
  UpdateMouse();
  int running = 1;
  switch (CurrentScreen) {
    case ScreenTitle:
      running = RunTitleFrame();
      break;
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
  NoteOffers();
  return running;
}
