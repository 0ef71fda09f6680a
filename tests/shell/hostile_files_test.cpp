// Things that are not the game's files where its files belong: picture headers that claim far
// more than their bytes, a sound made of holes, FIFOs and folders. The game and the replay tool
// neither wait on them nor take the memory they claim.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "graphics/image_slots.h"
#include "platform/files/little_endian.h"
#include "platform/win32/dsound.h"
#include "replay/replay_file.h"
#include "scores/highscore_file.h"
#include "scores/highscore_save.h"
#include "scores/highscore_table.h"
#include "shell/startup.h"
#include "tests/support/game_driver.h"
#include "tests/support/highscore_bytes.h"
#include "tests/support/riff_bytes.h"
#include "tests/support/run_folder.h"

namespace {

namespace fs = std::filesystem;

// A BMP file of `fileBytes` bytes whose header claims width x height at that depth and coding;
// palette entries for depths to 8 bits, zeros after.
Bytes ClaimingBmp(int32_t width, int32_t height, uint16_t bits, uint32_t compression,
                  size_t fileBytes) {
  const uint32_t paletteBytes = bits <= 8 ? 4u << bits : 0;
  Bytes bytes{'B', 'M'};
  AppendLe32(bytes, static_cast<uint32_t>(fileBytes));
  AppendLe32(bytes, 0);
  AppendLe32(bytes, 14 + 40 + paletteBytes);
  for (uint32_t field : {40u, static_cast<uint32_t>(width), static_cast<uint32_t>(height)}) {
    AppendLe32(bytes, field);
  }
  AppendLe16(bytes, 1);
  AppendLe16(bytes, bits);
  AppendLe32(bytes, compression);
  bytes.resize(fileBytes, 0);  // a run-length picture's first run pair is 0 0: end of line
  return bytes;
}

// A 16-bit mono WAV header whose data chunk is `dataBytes` long; the file is grown to hold
// them all as a hole, which takes no room on the disk.
void WriteWavOfHoles(const fs::path& path, uint32_t dataBytes) {
  Bytes bytes =
      RiffForm("WAVE", {Chunk("fmt ", PcmFormat(1, 11025, 16)), Chunk("data", {}, dataBytes)});
  WriteLe32(&bytes[4], 36 + dataBytes);  // the form claims the holes too
  WriteBytes(path, bytes);
  fs::resize_file(path, bytes.size() + dataBytes);
}

void ReplaceWithFifo(const fs::path& path) {
  fs::remove(path);
  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0) << path;
}

long PeakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

TEST(HostileFiles, StartUpNeitherWaitsOnThemNorTakesTheMemoryTheyClaim) {
  EnterRunFolder();
  // The run folder's files are links to the build's own: replaced, never written through.
  for (const char* link : {"gfx/Fly2.bmp", "gfx/Fly3.bmp", "snd/Hit.WAV"}) fs::remove(link);
  ReplaceWithFifo("gfx/Fly1.bmp");
  // Rows of 16000 bytes that the file does not hold, and a run-length picture too large to be
  // one of the game's whatever its runs say.
  WriteBytes("gfx/Fly2.bmp", ClaimingBmp(4000, 4000, 32, 0, 1078));
  WriteBytes("gfx/Fly3.bmp", ClaimingBmp(5000, 5000, 8, 1, 1100));
  WriteWavOfHoles("snd/Hit.WAV", DSBSIZE_MAX + 1);
  ReplaceWithFifo("snd/go.WAV");
  ReplaceWithFifo("Highscore.dat");

  const long peakBefore = PeakKilobytes();
  GameDriver driver;
  driver.Start();
  ASSERT_TRUE(driver.RunUntil([] { return HeadlessFrameCount() > 0; }, 1000));
  EXPECT_LT(PeakKilobytes() - peakBefore, 48 * 1024) << "kilobytes more at the peak";

  EXPECT_EQ(ImageSlots[1], nullptr);
  EXPECT_EQ(ImageSlots[2], nullptr);
  EXPECT_EQ(ImageSlots[3], nullptr);
  EXPECT_NE(ImageSlots[4], nullptr);
  EXPECT_EQ(HitSound, -1);
  EXPECT_EQ(GoSound, -1);
  EXPECT_GE(FlySound, 0);
  // The FIFO is no table: the default rows, and a save leaves the FIFO where it was.
  Bytes table(kHighscoreFileBytes);
  EncodeHighscores(table.data());
  EXPECT_EQ(table, DefaultFileBytes());
  CurrentGameEntry.score = 5;
  HighscoreInsert();
  EXPECT_FALSE(SaveHighscores());
  EXPECT_TRUE(fs::is_fifo("Highscore.dat"));
}

TEST(HostileFiles, TheReplayToolNamesAFifoOrAFolderInsteadOfWaitingOnIt) {
  EnterRunFolder();
  ReplaceWithFifo("game.replay");
  fs::create_directory("folder.replay");
  std::string error;
  EXPECT_FALSE(LoadReplay("game.replay", &error));
  EXPECT_EQ(error, "game.replay: not a regular file, not a replay");
  EXPECT_FALSE(LoadReplay("folder.replay", &error));
  EXPECT_EQ(error, "folder.replay: a folder, not a replay");
}

}  // namespace
