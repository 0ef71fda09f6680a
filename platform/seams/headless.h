// The headless backend: the same platform layer with no window on screen, for tests.
// A virtual clock, device steps that fail on request, message boxes recorded, every
// flipped frame capturable, and yield points at which an in-process driver takes over.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Switches the platform layer to headless before anything is opened: SDL's dummy video and
// audio drivers, the virtual clock, no real message boxes, no presentation on screen.
void HeadlessEnable();
bool HeadlessActive();

// Rules only: nothing is drawn that only the eye sees. Blits and colour fills, text and the
// presented frame do nothing once they have checked their arguments and given the result they
// would give; the pictures are still loaded whole (the swatter's pixels decide where blood
// lands, and so how many numbers a swat draws), and the clock, the flips and every read are as
// they would be. For checking a replay at the speed of its rules. Only ever in effect while
// headless: the window a player sees can never lose its drawing to it.
void HeadlessDrawNothing();
bool HeadlessRulesOnly();

// Failure injection. Every device step of the platform layer asks HeadlessStepFails with its
// own name (for instance "DirectDrawCreateEx", "SetDisplayMode32") before doing its work.
void HeadlessFailStep(const std::string& step);
void HeadlessClearFailures();
bool HeadlessStepFails(const char* step);

// The virtual clock, in milliseconds as GetTickCount returns them. Every read advances it by
// one millisecond, so that the game's busy waits end; a flip paces it like a 60 Hz display.
uint32_t HeadlessClockNow();
uint32_t HeadlessClockRead();  // what GetTickCount returns: the time, then one more millisecond
void HeadlessClockSet(uint32_t ms);
void HeadlessClockAdvance(uint32_t ms);
// A flip presented headless: the clock moves on to the next 60 Hz tick, as a display's
// vertical blank would, the flip's observers are told, and the driver takes over.
void HeadlessPresentFlip();
// The display closed: the next one opened paces its flips from the clock as it then reads.
void HeadlessFlipPacingReset();

// Message boxes shown while headless, in order.
struct RecordedMessageBox {
  std::string caption;
  std::string text;
  unsigned style;
};
const std::vector<RecordedMessageBox>& HeadlessMessageBoxes();
void HeadlessRecordMessageBox(const char* caption, const char* text, unsigned style);

// The frames presented by flips, row by row. A word's top byte is whatever the game left in
// the unused byte of the pixel; At gives the colour alone, 0x00RRGGBB.
struct CapturedFrame {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  uint32_t At(int x, int y) const {
    return pixels[static_cast<size_t>(y) * width + x] & 0x00FFFFFFu;
  }
};
// The frame a flip is about to present: sized, counted, and filled by the caller.
CapturedFrame& HeadlessNextFrame(int width, int height);
const CapturedFrame& HeadlessLastFrame();
uint64_t HeadlessFrameCount();

// Yield points: places where the game would wait on the outside world. A driver that runs the
// game on a thread of its own takes control there; without a driver they do nothing.
enum class YieldPoint { Flip, MouseRead, KeyboardRead };
using YieldHandler = void (*)(YieldPoint);
void HeadlessSetYieldHandler(YieldHandler handler);
void HeadlessYield(YieldPoint point);
