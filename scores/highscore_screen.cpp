#include "scores/highscore_screen.h"

#include "graphics/display.h"
#include "graphics/drawing.h"
#include "input/keyboard.h"
#include "scores/highscore_table.h"
#include "shell/screens.h"

// Until the table and the name entry are drawn: the picture, and back to the title on Escape.
void RunHighscoreFrame() {
  if (ScreenFirstFrame) {
    LoadBackground("gfx\\Highscore.bmp");
    ScreenFirstFrame = false;
  }
  DrawFullScreen(ImageSlots[0]);
  if (KeyHeld(DIK_ESCAPE)) {
    WaitForKeysReleased();
    CurrentScreen = ScreenTitle;
    ScreenFirstFrame = true;
    CurrentGameEntry.score = 0;
  }
  FlipPage();
}
