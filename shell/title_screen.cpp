#include "game/play_answers.h"
#include "globals/image_numbers.h"
#include "graphics/cursor_images.h"
#include "graphics/display.h"
#include "graphics/drawing.h"
#include "input/draw_cursor.h"
#include "input/keyboard.h"
#include "input/mouse_cursor.h"
#include "scores/highscore_table.h"
#include "shell/frame_clock.h"
#include "shell/screens.h"

namespace {

// A button painted in the title picture: its rectangle (all four bounds inclusive, tested on
// the cursor's top-left corner) and where it leads.
struct TitleButton {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
  Screen target;
  bool setsFirstFrame;
};

// Tested in this order in every frame; the exit picture has no entry work.
constexpr TitleButton kTitleButtons[4] = {
    {25, 425, 86, 450, ScreenExit, false},
    {462, 336, 594, 367, ScreenPlay, true},
    {458, 424, 576, 446, ScreenCredits, true},
    {430, 382, 595, 405, ScreenHighscores, true},
};

void EnterTitle() {
  LoadBackground("gfx\\Start.bmp");
  LoadCursorImage(0, "gfx\\Fly1.bmp");
  LoadCursorImage(1, "gfx\\Fly2.bmp");
  LoadCursorImage(2, "gfx\\Fly3.bmp");
  Cursor.animated = true;
  Cursor.swatter = false;
  ScreenFirstFrame = false;
}

}  // namespace

std::string BeginPlayAtTitle(const CarriedState& carried) {
  EnterTitle();
  if (std::string fault = PutCarriedIn(carried); !fault.empty()) return fault;
  const TitleButton& play = kTitleButtons[1];
  if (!CursorInRect(play.left, play.top, play.right, play.bottom)) {
    return "the cursor at (" + std::to_string(carried.cursorX) + ", " +
           std::to_string(carried.cursorY) + ") is not on the Play button, where a game begins";
  }
  CurrentScreen = play.target;
  ScreenFirstFrame = play.setsFirstFrame;
  return "";
}

int RunTitleFrame() {
  if (ScreenFirstFrame) {
    EnterTitle();
    // A game that beats the table goes straight on to its name, with nothing drawn.
    if (HighscoreQualifies()) {
      CurrentScreen = ScreenHighscores;
      ScreenFirstFrame = true;
      return 0;
    }
  }
  DrawFullScreen(ImageSlots[kBackgroundImage]);
  if (KeyHeld(DIK_ESCAPE)) CurrentScreen = ScreenExit;
  // Waiting for the release reads the mouse, so once one button has taken the click the
  // left button reads up and no later button acts in this frame.
  for (const TitleButton& button : kTitleButtons) {
    if (MouseState.rgbButtons[0] != 0 &&
        CursorInRect(button.left, button.top, button.right, button.bottom)) {
      WaitForClick(0);
      CurrentScreen = button.target;
      if (button.setsFirstFrame) ScreenFirstFrame = true;
    }
  }
  DrawCursor();
  FrameClockWait(10);
  FlipPage();
  return 1;
}
