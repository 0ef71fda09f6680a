#include "graphics/cursor_images.h"
#include "graphics/display.h"
#include "graphics/drawing.h"
#include "input/keyboard.h"
#include "input/mouse_cursor.h"
#include "scores/highscore_table.h"
#include "shell/screens.h"

namespace {

// A new game: the swatter in place of the fly, and a fresh record of the game.
void EnterPlay() {
  LoadCursorImage(0, "gfx\\Klatsche1.bmp");
  LoadCursorImage(1, "gfx\\Klatsche2.bmp");
  Cursor.animated = false;
  Cursor.swatter = true;
  Cursor.swatActive = false;
  ScreenFirstFrame = false;
  // Seam: the first stage is set up here (its intro, its flies, its clock).
  LoadBackground("gfx\\Back1.bmp");
  CurrentGameEntry.score = 0;
  for (int32_t& count : CurrentGameEntry.swatCounts) count = 0;
  for (int i = 0; i < 3; ++i) CurrentGameEntry.name[i] = ' ';
}

}  // namespace

// Until the play rules exist: the stage-1 background, and back to the title on Escape.
void RunPlayFrame() {
  if (ScreenFirstFrame) EnterPlay();
  // Seam: the play rules run here, then the frame is paced and drawn.
  DrawFullScreen(ImageSlots[0]);
  if (KeyHeld(DIK_ESCAPE)) {
    WaitForKeysReleased();
    CurrentScreen = ScreenTitle;
    ScreenFirstFrame = true;
  }
  FlipPage();
}
