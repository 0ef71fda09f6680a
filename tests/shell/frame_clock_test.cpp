#include "shell/frame_clock.h"

#include <gtest/gtest.h>

#include "platform/seams/headless.h"

namespace {

class FrameClockTest : public ::testing::Test {
 protected:
  void SetUp() override { HeadlessEnable(); }
};

TEST_F(FrameClockTest, WaitReturnsNoSoonerThanTheGivenTimeAfterTheStart) {
  HeadlessClockSet(5000);
  uint32_t start = FrameClockStart();
  EXPECT_EQ(start, 5000u);
  uint32_t end = FrameClockWait(10);
  EXPECT_GE(end - start, 10u);
  EXPECT_LE(end - start, 11u);
  EXPECT_EQ(FrameClock.FrameStartTick, start);
}

TEST_F(FrameClockTest, WaitReturnsAtOnceWhenTheTimeHasAlreadyPassed) {
  HeadlessClockSet(100);
  FrameClockStart();
  HeadlessClockAdvance(25);
  uint32_t before = HeadlessClockNow();
  FrameClockWait(10);
  // One read to find the time passed, one more for the result.
  EXPECT_EQ(HeadlessClockNow() - before, 2u);
}

TEST_F(FrameClockTest, WaitSurvivesTheTickCounterWrapping) {
  HeadlessClockSet(0xFFFFFFFAu);
  uint32_t start = FrameClockStart();
  uint32_t end = FrameClockWait(10);
  EXPECT_LT(end, start);  // the counter has wrapped
  EXPECT_GE(static_cast<uint32_t>(end - start), 10u);
  EXPECT_LE(static_cast<uint32_t>(end - start), 11u);
}

}  // namespace
