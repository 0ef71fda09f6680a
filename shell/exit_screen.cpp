#include "globals/image_numbers.h"
#include "graphics/display.h"
#include "graphics/drawing.h"
#include "input/mouse_cursor.h"
#include "shell/screens.h"
#include "shell/win_main.h"

// The age-rating picture until a click; closing the window ends the frame loop.
void RunExitFrame() {
  LoadBackground("gfx\\fsk.bmp");
  DrawFullScreen(ImageSlots[kBackgroundImage]);
  FlipPage();
  WaitForClick(0);
  SendMessageA(MainWindow, WM_CLOSE, 0, 0);
}
