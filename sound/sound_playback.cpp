#include <algorithm>

#include "sound/sound_slots.h"

namespace {

// The slot's buffer; none for a free slot or a number that is no slot (-1 for a sound that
// failed to load), so that the game can use such numbers harmlessly.
LPDIRECTSOUNDBUFFER SlotBuffer(int32_t slot) {
  if (slot < 0 || slot >= SoundSlotCount) return nullptr;
  return SoundSlots[slot].buffer;
}

int StartFromBeginning(int32_t slot, DWORD playFlags) {
  LPDIRECTSOUNDBUFFER buffer = SlotBuffer(slot);
  if (buffer == nullptr) return 1;
  if (buffer->SetCurrentPosition(0) != DS_OK) return 0;
  if (buffer->Play(0, 0, playFlags) != DS_OK) return 0;
  return 1;
}

}  // namespace

int SoundPlay(int32_t slot) { return StartFromBeginning(slot, 0); }

int SoundPlayLooped(int32_t slot) { return StartFromBeginning(slot, DSBPLAY_LOOPING); }

int SoundSetVolume(int32_t slot, int32_t volume) {
  LPDIRECTSOUNDBUFFER buffer = SlotBuffer(slot);
  if (buffer == nullptr) return 0;
  // Computed wide: a volume far out of range must be refused, not wrap into range.
  const int64_t hundredths = std::clamp<int64_t>(30 * int64_t{volume} - 3000, INT32_MIN, INT32_MAX);
  return buffer->SetVolume(static_cast<LONG>(hundredths)) == DS_OK ? 1 : 0;
}

int SoundSetPan(int32_t slot, int32_t pan) {
  LPDIRECTSOUNDBUFFER buffer = SlotBuffer(slot);
  if (buffer == nullptr) return 0;
  return buffer->SetPan(pan) == DS_OK ? 1 : 0;
}

int SoundSetPosition(int32_t slot, int32_t position) {
  LPDIRECTSOUNDBUFFER buffer = SlotBuffer(slot);
  if (buffer == nullptr) return 0;
  return buffer->SetCurrentPosition(static_cast<DWORD>(position)) == DS_OK ? 1 : 0;
}

int SoundStop(int32_t slot) {
  LPDIRECTSOUNDBUFFER buffer = SlotBuffer(slot);
  if (buffer != nullptr) {
    buffer->Stop();
    buffer->SetCurrentPosition(0);
  }
  return 1;
}

int SoundStopAll() {
  for (int32_t slot = 0; slot < SoundSlotCount; ++slot) SoundStop(slot);
  return 1;
}
