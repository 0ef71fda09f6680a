// Feeds arbitrary files to the WAV loader and plays whatever it accepts.
#include <cstdint>

#include "platform/sdl/audio_mixer.h"
#include "sound/sound_slots.h"
#include "tests/fuzz/fuzz_run_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const InFuzzRunFolder inRunFolder;
  static const bool ready = [] {
    OpenHeadlessGameWindow();
    return SoundInit() == 1;
  }();
  if (!ready || !WriteFuzzFile("snd/Fuzz.WAV", data, size)) return 0;

  const int32_t slot = SoundLoadWav("snd\\Fuzz.WAV", DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME);
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
