#include "game/wait_for_ok.h"

#include "globals/image_numbers.h"
#include "graphics/display.h"
#include "graphics/drawing.h"
#include "input/draw_cursor.h"
#include "input/mouse_cursor.h"
#include "platform/seams/screen_offers.h"
#include "platform/session/ending_signals.h"

void WaitForOk() {
  // Onto the background, so it stays with the texts the caller drew there.
  DrawSprite(ImageSlots[kBackgroundImage], 270, 350, ImageSlots[kOkBoxImage]);
  NoteClickAwaited();
  for (;;) {
    DrawOpaque(Display.backBuffer, 0, 0, ImageSlots[kBackgroundImage]);
    UpdateMouse();
    // A fixed rectangle, tested on the swatter's corner; a click elsewhere only swings it. A
    // logout does not wait for OK.
    if (CursorInRect(220, 292, 339, 379) && MouseState.rgbButtons[0] != 0) break;
    if (SessionEnding()) break;
    DrawCursor();
    FlipPage();
  }
  // The button is down: this waits for its release only.
  WaitForClick(0);
  Cursor.swatTimer = 0;
}
