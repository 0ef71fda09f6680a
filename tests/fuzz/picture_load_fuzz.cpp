// Feeds arbitrary files to the game's picture loading: each is loaded as a sprite (decoded,
// copied onto a surface of the display's depth, colour-keyed) and drawn stretched over the
// screen, keyed and centred, once on a display of 32 bits per pixel and once on one of 24.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "graphics/display.h"
#include "graphics/drawing.h"
#include "platform/seams/headless.h"
#include "tests/fuzz/fuzz_run_folder.h"

namespace {

constexpr int kSprite = 1;

void LoadAndDraw() {
  LoadImageSlot(kSprite, "gfx\\Fuzz.bmp");
  IDirectDrawSurface7* picture = ImageSlots[kSprite];
  DrawFullScreen(picture);
  DrawSprite(Display.backBuffer, 3, 5, picture);
  DrawCentered(Display.backBuffer, picture);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const InFuzzRunFolder inRunFolder;
  static const bool ready = [] {
    OpenHeadlessGameWindow();
    return true;
  }();
  if (!ready || !WriteFuzzFile("gfx/Fuzz.bmp", data, size)) return 0;

  for (const bool refuse32 : {false, true}) {
    // Where 32 bits are refused, the display comes up at 24, as on such a machine.
    if (refuse32) HeadlessFailStep("SetDisplayMode32");
    const char* failure = OpenDisplay();
    HeadlessClearFailures();
    if (failure != nullptr) {
      std::fprintf(stderr, "the headless display did not open: %s\n", failure);
      std::abort();
    }
    LoadAndDraw();
    CloseDisplay();  // with the pictures
  }
  return 0;
}
