#include "game/draw_play_frame.h"
#include "game/play_state.h"
#include "game/start_stage.h"
#include "game/update_play_frame.h"
#include "graphics/cursor_images.h"
#include "input/mouse_cursor.h"
#include "scores/highscore_table.h"
#include "shell/frame_clock.h"
#include "shell/screens.h"

namespace {

// A new game: the swatter (fresh, without the last game's blood) in place of the fly, stage 1
// with its intro, and only then a fresh record of the game and one blob of cream.
void EnterPlay() {
  LoadCursorImage(0, "gfx\\Klatsche1.bmp");
  LoadCursorImage(1, "gfx\\Klatsche2.bmp");
  FlyTable[kCreamBlob].alive = 0;
  Cursor.animated = false;
  Cursor.swatter = true;
  Cursor.swatActive = false;
  ScreenFirstFrame = false;
  Stage = 1;
  StartStage();
  CurrentGameEntry.score = 0;
  for (int32_t& count : CurrentGameEntry.swatCounts) count = 0;
  for (int i = 0; i < 3; ++i) CurrentGameEntry.name[i] = ' ';
  CreamStock = 1;
}

}  // namespace

void RunPlayFrame() {
  if (ScreenFirstFrame) EnterPlay();
  UpdatePlayFrame();
  // A frame whose rules left the screen is not drawn.
  if (ScreenFirstFrame) return;
  FrameClockWait(10);
  DrawPlayFrame();
}
