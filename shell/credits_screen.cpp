#include "graphics/display.h"
#include "graphics/drawing.h"
#include "input/keyboard.h"
#include "shell/screens.h"

int32_t CreditsSweepRow = 0;

namespace {

struct CreditsLine {
  const char* text;
  int32_t y;
  COLORREF color;
};

// Yellow for the first two lines, then red and green fading by 10 a line.
constexpr COLORREF Fading(int line) {
  const COLORREF level = static_cast<COLORREF>(255 - 10 * (line - 1));
  return level | level << 8;
}

constexpr CreditsLine kCreditsLines[18] = {
    {"Lead Programmers : Quarrendel", 50, 0xFFFF},
    {"AI Programmers : Quarrendel", 70, 0xFFFF},
    {"GFX Programmers : Quarrendel", 90, Fading(3)},
    {"Art Directors : Quarrendel", 110, Fading(4)},
    {"Ex. Producers : Quarrendel", 130, Fading(5)},
    {"Battle System Designers : Quarrendel", 150, Fading(6)},
    {"Lead Testers : Quarrendel", 170, Fading(7)},
    {"Assistant Managers : Quarrendel", 190, Fading(8)},
    {"Coordination Director : Quarrendel", 210, Fading(9)},
    {"Qlt. Assurance Managers : Quarrendel", 230, Fading(10)},
    {"Chief Engeneers : Quarrendel", 250, Fading(11)},
    {"Editors : Quarrendel", 270, Fading(12)},
    {"Level Designers : Quarrendel", 290, Fading(13)},
    {"Artworkers : Quarrendel", 310, Fading(14)},
    {"Event Directors : Quarrendel", 330, Fading(15)},
    {"Product Analysts : Quarrendel", 350, Fading(16)},
    {"Charakter Modellers : Quarrendel", 370, Fading(17)},
    {"Senior Softw. Engs. : Quarrendel", 390, Fading(18)},
};

constexpr int32_t kSweepEnd = 450;

// Every column from x 50 becomes a streak, from the sweep row down, in the colour it has on
// that row; the list above the row stands as drawn.
void DrawSweep(int32_t row) {
  for (int x = 50; x < 640; ++x) {
    if (LockPixels(Display.backBuffer) == nullptr) continue;
    const uint32_t pixel = ReadPixel(LockedPixelView(), x, row);
    UnlockPixels(Display.backBuffer);
    ColorFill(x, row, x + 1, 480, pixel, Display.backBuffer);
  }
}

}  // namespace

void RunCreditsFrame() {
  if (ScreenFirstFrame) {
    ScreenFirstFrame = false;
    CreditsSweepRow = 55;
  }
  if (KeyHeld(DIK_ESCAPE)) {
    WaitForKeysReleased();
    CurrentScreen = ScreenTitle;
    ScreenFirstFrame = true;
  }
  ColorFill(0, 0, 640, 480, 0, Display.backBuffer);
  for (const CreditsLine& line : kCreditsLines) {
    DrawShadowText(line.text, 50, line.y, line.color, Display.backBuffer);
  }
  if (CreditsSweepRow < kSweepEnd) CreditsSweepRow += 1;
  if (CreditsSweepRow < kSweepEnd) DrawSweep(CreditsSweepRow);
  FlipPage();
}
