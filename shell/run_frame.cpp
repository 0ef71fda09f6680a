#include "shell/run_frame.h"

#include "graphics/display.h"
#include "graphics/drawing.h"
#include "shell/frame_clock.h"

// Until the screens exist, every frame shows a plain test picture: a blue field with the
// game's name, so that the window, the display, the font and the flip can be seen working.
int RunFrame() {
  FrameClockStart();
  ColorFill(0, 0, 640, 480, 0x002060A0, Display.backBuffer);
  DrawShadowText("Zimbrel", 270, 225, 0xFFFF, Display.backBuffer);
  FlipPage();
  return 1;
}
