// Feeds arbitrary files to the WAV loader and plays whatever it accepts.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/audio_mixer.h"
#include "platform/headless.h"
#include "shell/win_main.h"
#include "sound/sound_slots.h"

namespace {

int WindowStandIn = 0;

const std::string& ScratchFile() {
  static const std::string path = "/tmp/zimbrel_wav_fuzz_" + std::to_string(getpid()) + ".wav";
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = [] {
    HeadlessEnable();
    MainWindow = reinterpret_cast<HWND>(&WindowStandIn);
    return SoundInit() == 1;
  }();
  if (!ready) return 0;

  std::FILE* file = std::fopen(ScratchFile().c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  const int32_t slot = SoundLoadWav(ScratchFile().c_str(), DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME);
  if (slot >= 0) {
    const int32_t copy = SoundDuplicate(slot);
    SoundPlayLooped(slot);
    SoundSetPosition(copy, SoundSlots[slot].dataBytes / 2);
    SoundPlay(copy);
    AudioCaptureMix(300);
  }
  SoundInit();
  return 0;
}
