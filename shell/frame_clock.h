// Frame pacing on the tick counter.
#pragma once

#include <cstdint>

struct FrameClockRecord {
  uint32_t FrameStartTick;
};
extern FrameClockRecord FrameClock;

uint32_t FrameClockNow();
uint32_t FrameClockStart();
// Busy-waits until the given milliseconds have passed since the frame's start.
uint32_t FrameClockWait(uint32_t milliseconds);
