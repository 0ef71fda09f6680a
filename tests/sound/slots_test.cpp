// Slot numbering, the full table, duplication and SoundInit, with the device's failures.
#include <cstring>

#include "platform/seams/headless.h"
#include "shell/win_main.h"
#include "tests/support/captured_mix.h"
#include "tests/support/sound_fixture.h"

namespace {

class SoundSlotsTest : public SoundTest {
 protected:
  void SetUp() override {
    SoundTest::SetUp();
    tone_ = SoxTone("tone.wav", "synth " + Samples(1100) + " sine 441");
  }
  std::string tone_;
};

bool SlotsEqual(const SoundSlot (&a)[SoundSlotCount], const SoundSlot (&b)[SoundSlotCount]) {
  return std::memcmp(a, b, sizeof a) == 0;
}

TEST_F(SoundSlotsTest, LoadsTakeSlotsInOrderAndDuplicatesTheLowestFree) {
  EXPECT_EQ(SoundLoadWav(tone_.c_str(), DSBCAPS_CTRLPAN), 0);
  EXPECT_EQ(SoundDuplicate(0), 1);
  EXPECT_EQ(SoundLoadWav(tone_.c_str(), 0), 2);
  for (int32_t slot = 0; slot < 3; ++slot) {
    EXPECT_EQ(SoundSlots[slot].inUse, 1);
    EXPECT_EQ(SoundSlots[slot].index, slot);
    EXPECT_EQ(SoundSlots[slot].sampleRate, 11025);
    EXPECT_EQ(SoundSlots[slot].dataBytes, 2200);
    EXPECT_NE(SoundSlots[slot].buffer, nullptr);
  }
  EXPECT_NE(SoundSlots[0].buffer, SoundSlots[1].buffer);
  EXPECT_EQ(SoundSlots[3].inUse, 0);
  EXPECT_EQ(SoundSlots[3].index, 3);
}

TEST_F(SoundSlotsTest, AFullTableRefusesLoadsAndDuplicatesAndChangesNothing) {
  ASSERT_EQ(SoundLoadWav(tone_.c_str(), 0), 0);
  for (int32_t slot = 1; slot < SoundSlotCount; ++slot) ASSERT_EQ(SoundDuplicate(0), slot);
  SoundSlot before[SoundSlotCount];
  std::memcpy(before, SoundSlots, sizeof before);
  EXPECT_EQ(SoundLoadWav(tone_.c_str(), 0), -1);
  EXPECT_EQ(SoundDuplicate(0), -1);
  EXPECT_TRUE(SlotsEqual(before, SoundSlots));
}

TEST_F(SoundSlotsTest, DuplicateOfNoSlotOrOfAFreeSlotTakesNothing) {
  SoundSlot before[SoundSlotCount];
  std::memcpy(before, SoundSlots, sizeof before);
  EXPECT_EQ(SoundDuplicate(-1), -1);
  EXPECT_EQ(SoundDuplicate(5), -1);
  EXPECT_EQ(SoundDuplicate(SoundSlotCount), -1);
  EXPECT_TRUE(SlotsEqual(before, SoundSlots));
  EXPECT_EQ(SoundLoadWav(tone_.c_str(), 0), 0);
}

TEST_F(SoundSlotsTest, ARefusedDuplicateLeavesItsSlotFreeUnderItsOwnNumber) {
  ASSERT_EQ(SoundLoadWav(tone_.c_str(), 0), 0);
  HeadlessFailStep("DuplicateSoundBuffer");
  EXPECT_EQ(SoundDuplicate(0), -1);
  EXPECT_EQ(SoundSlots[1].inUse, 0);
  EXPECT_EQ(SoundSlots[1].buffer, nullptr);
  EXPECT_EQ(SoundSlots[1].index, 1);
  HeadlessClearFailures();
  EXPECT_EQ(SoundDuplicate(0), 1);
}

TEST_F(SoundSlotsTest, SecondInitFreesEverySlotAndKeepsTheDevice) {
  ASSERT_EQ(SoundLoadWav(tone_.c_str(), 0), 0);
  ASSERT_EQ(SoundDuplicate(0), 1);
  SoundPlayLooped(1);
  LPDIRECTSOUND device = SoundDevice;
  EXPECT_EQ(SoundInit(), 1);
  EXPECT_EQ(SoundDevice, device);
  for (int32_t slot = 0; slot < SoundSlotCount; ++slot) {
    EXPECT_EQ(SoundSlots[slot].buffer, nullptr);
    EXPECT_EQ(SoundSlots[slot].inUse, 0);
    EXPECT_EQ(SoundSlots[slot].index, slot);
  }
  // The released loop no longer sounds.
  Captured::Take(0.01);
  EXPECT_EQ(Captured::Take(0.05).PeakAbs(0), 0);
  EXPECT_EQ(SoundLoadWav(tone_.c_str(), 0), 0);
}

TEST_F(SoundSlotsTest, EachFailingBufferStepFailsTheLoadAndLeavesTheSlotFree) {
  for (const char* step : {"CreateSoundBuffer", "LockSoundBuffer", "UnlockSoundBuffer"}) {
    SCOPED_TRACE(step);
    HeadlessFailStep(step);
    EXPECT_EQ(SoundLoadWav(tone_.c_str(), 0), -1);
    EXPECT_EQ(SoundSlots[0].inUse, 0);
    EXPECT_EQ(SoundSlots[0].buffer, nullptr);
    HeadlessClearFailures();
  }
  EXPECT_EQ(SoundLoadWav(tone_.c_str(), 0), 0);
  // The mix was not left locked by the failed loads: a sound still plays.
  SoundPlay(0);
  EXPECT_GT(Captured::Take(0.05).PeakAbs(0), 1000);
}

TEST_F(SoundSlotsTest, PlayingOperationsOnNoSlotOrAFreeSlotDoNothing) {
  for (int32_t slot : {-1, 7, SoundSlotCount, -12345}) {
    SCOPED_TRACE(slot);
    EXPECT_EQ(SoundPlay(slot), 1);
    EXPECT_EQ(SoundPlayLooped(slot), 1);
    EXPECT_EQ(SoundSetVolume(slot, 50), 0);
    EXPECT_EQ(SoundSetPan(slot, -3000), 0);
    EXPECT_EQ(SoundSetPosition(slot, 100), 0);
    EXPECT_EQ(SoundStop(slot), 1);
  }
  EXPECT_EQ(SoundStopAll(), 1);
  EXPECT_EQ(Captured::Take(0.02).PeakAbs(0), 0);
}

TEST_F(SoundSlotsTest, ControlsAreRefusedOnBuffersMadeWithoutThem) {
  ASSERT_EQ(SoundLoadWav(tone_.c_str(), 0), 0);
  ASSERT_EQ(SoundLoadWav(tone_.c_str(), DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME), 1);
  EXPECT_EQ(SoundSetVolume(0, 50), 0);
  EXPECT_EQ(SoundSetPan(0, -3000), 0);
  EXPECT_EQ(SoundSetVolume(1, 100), 1);
  EXPECT_EQ(SoundSetVolume(1, 0), 1);
  EXPECT_EQ(SoundSetVolume(1, 101), 0);  // would be a gain above full volume
  EXPECT_EQ(SoundSetVolume(1, INT32_MAX), 0);
  EXPECT_EQ(SoundSetPan(1, 2750), 1);
  EXPECT_EQ(SoundSetPan(1, 10001), 0);
  LONG volume = 0;
  SoundSetVolume(1, 50);
  SoundSlots[1].buffer->GetVolume(&volume);
  EXPECT_EQ(volume, -1500);
}

class SoundDeviceFailureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HeadlessEnable();
    MainWindow = reinterpret_cast<HWND>(&windowStandIn_);
  }
  int windowStandIn_ = 0;
};

TEST_F(SoundDeviceFailureTest, FailedCreationIsNotRetriedAndLoadsFailHarmlessly) {
  HeadlessFailStep("DirectSoundCreate");
  EXPECT_EQ(SoundInit(), 0);
  HeadlessClearFailures();
  EXPECT_EQ(SoundInit(), 1);  // numbers the slots; the device is never tried again
  EXPECT_EQ(SoundDevice, nullptr);
  char path[] = "/tmp/zimbrel_nodevice_XXXXXX.wav";
  const int fd = mkstemps(path, 4);
  ASSERT_GE(fd, 0);
  close(fd);
  ASSERT_EQ(std::system(("sox -n -r 11025 -b 16 -c 1 " + std::string(path) + " synth 0.1 sine 440").c_str()), 0);
  EXPECT_EQ(SoundLoadWav(path, 0), -1);
  EXPECT_EQ(SoundSlots[0].inUse, 0);
  EXPECT_EQ(SoundDuplicate(0), -1);
  std::remove(path);
}

TEST_F(SoundDeviceFailureTest, RefusedCooperativeLevelFailsInit) {
  HeadlessFailStep("SetCooperativeLevelSound");
  EXPECT_EQ(SoundInit(), 0);
}

TEST_F(SoundDeviceFailureTest, InitWithoutAWindowFails) {
  MainWindow = nullptr;
  EXPECT_EQ(SoundInit(), 0);
}

}  // namespace
