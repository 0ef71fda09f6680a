// The real mode: SDL's own audio thread pulls the mix through the device's callback. The
// disk driver stands in for a sound card and writes what it is given to a file.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include "platform/files/little_endian.h"
#include "platform/files/temporary_folder.h"
#include "platform/sdl/audio_mixer.h"
#include "platform/seams/headless.h"
#include "shell/win_main.h"
#include "sound/sound_slots.h"
#include "tests/support/file_bytes.h"

namespace {

TEST(SoundDeviceTest, TheAudioCallbackPlaysTheMixOutThroughTheDevice) {
  std::string error;
  const std::optional<std::filesystem::path> folder = MakeTemporaryFolder("zimbrel-disk", &error);
  ASSERT_TRUE(folder) << error;
  const std::string output = (*folder / "out.raw").string();
  const std::string tone = (*folder / "tone.wav").string();
  ASSERT_EQ(std::system(("sox -D -r 11025 -n -b 16 -c 1 " + tone + " synth 0.5 sine 441").c_str()), 0);
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
  int windowStandIn = 0;
  MainWindow = reinterpret_cast<HWND>(&windowStandIn);
  ASSERT_FALSE(HeadlessActive());
  ASSERT_EQ(SoundInit(), 1);
  EXPECT_TRUE(AudioCaptureMix(100).empty());  // the device's thread owns the mix
  const int32_t slot = SoundLoadWav(tone.c_str(), 0);
  ASSERT_EQ(slot, 0);
  SoundPlayLooped(slot);

  // Wait until the device has written a good stretch of sound (at most ten seconds).
  Bytes written;
  for (int wait = 0; wait < 200; ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    written = FileBytes(output);
    if (written.size() > 4 * 22050) break;
  }
  SoundStopAll();
  ASSERT_GT(written.size(), 4u * 22050);
  int peak = 0;
  for (size_t i = 0; i + 1 < written.size(); i += 2) {
    peak = std::max(peak, std::abs(int{static_cast<int16_t>(ReadLe16(&written[i]))}));
  }
  EXPECT_GT(peak, 30000);
  std::filesystem::remove_all(*folder);
}

}  // namespace
