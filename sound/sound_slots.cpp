#include "sound/sound_slots.h"

#include "globals/main_window.h"

SoundSlot SoundSlots[SoundSlotCount];
LPDIRECTSOUND SoundDevice = nullptr;
int32_t SoundDevicePending = 1;

int SoundInit() {
  if (SoundDevicePending) {
    for (SoundSlot& slot : SoundSlots) slot = {};
    // Cleared first: a failed creation is never tried again.
    SoundDevicePending = 0;
    if (DirectSoundCreate(nullptr, &SoundDevice, nullptr) != DS_OK) return 0;
    if (SoundDevice->SetCooperativeLevel(MainWindow, DSSCL_NORMAL) != DS_OK) return 0;
  }
  for (int32_t i = 0; i < SoundSlotCount; ++i) {
    SoundSlot& slot = SoundSlots[i];
    if (slot.buffer != nullptr) {
      slot.buffer->Stop();
      slot.buffer->Release();
    }
    slot = {};
    slot.inUse = 0;
    slot.index = i;
  }
  return 1;
}

int32_t LowestFreeSoundSlot() {
  for (int32_t i = 0; i < SoundSlotCount; ++i) {
    if (SoundSlots[i].inUse == 0) return i;
  }
  return -1;
}

int32_t SoundDuplicate(int32_t source) {
  if (source < 0 || source >= SoundSlotCount) return -1;
  const int32_t slot = LowestFreeSoundSlot();
  if (slot < 0) return -1;
  SoundSlot& copy = SoundSlots[slot];
  copy = SoundSlots[source];
  if (SoundDevice == nullptr ||
      SoundDevice->DuplicateSoundBuffer(SoundSlots[source].buffer, &copy.buffer) != DS_OK) {
    copy.buffer = nullptr;
    copy.inUse = 0;
    // The copy brought the source's number along; a free slot keeps its own.
    copy.index = slot;
    return -1;
  }
  copy.index = slot;
  return slot;
}
