#include "shell/frame_clock.h"

#include "platform/win32/win.h"

FrameClockRecord FrameClock = {0};

uint32_t FrameClockNow() { return GetTickCount(); }

uint32_t FrameClockStart() {
  FrameClock.FrameStartTick = GetTickCount();
  return FrameClock.FrameStartTick;
}

uint32_t FrameClockWait(uint32_t milliseconds) {
  // Unsigned difference, so the wait survives the tick counter wrapping.
  while (GetTickCount() - FrameClock.FrameStartTick < milliseconds) {
  }
  return GetTickCount();
}
