// The sound device and the 64 sound slots: WAV files loaded into static buffers, duplicated
// for sounds heard several times at once, and played by slot number (-1 is no slot).
#pragma once

#include <cstdint>

#include "platform/win32/dsound.h"

constexpr int32_t SoundSlotCount = 64;

struct SoundSlot {
  LPDIRECTSOUNDBUFFER buffer;
  int32_t inUse;       // 0 free, 1 occupied
  int32_t sampleRate;  // as the WAV file states it; kept, never used
  int32_t dataBytes;   // size of the sample data and of the buffer
  int32_t index;       // the slot's own number
};

extern SoundSlot SoundSlots[SoundSlotCount];
extern LPDIRECTSOUND SoundDevice;
// Set until the first SoundInit, which creates the device once, whether or not it succeeds.
extern int32_t SoundDevicePending;

// Creates the device on the first call; every call stops and releases every buffer and
// frees every slot. 1 on success, 0 when the device cannot be made.
int SoundInit();
// The lowest free slot, or -1 when all are occupied.
int32_t LowestFreeSoundSlot();
// Loads a RIFF WAVE PCM file into the lowest free slot; its bytes are played as 16-bit mono
// at 11025 samples per second whatever the file states. The slot, or -1.
int32_t SoundLoadWav(const char* fileName, DWORD extraCapabilities);
// A further slot playing the same samples independently. The slot, or -1.
int32_t SoundDuplicate(int32_t source);

// Slots without a buffer, and numbers outside 0..63 such as -1, are silently ignored.
int SoundPlay(int32_t slot);
int SoundPlayLooped(int32_t slot);
int SoundSetVolume(int32_t slot, int32_t volume);  // 0..100, 100 is full volume
int SoundSetPan(int32_t slot, int32_t pan);        // DSBPAN_LEFT..DSBPAN_RIGHT
int SoundSetPosition(int32_t slot, int32_t position);  // bytes from the start
int SoundStop(int32_t slot);
int SoundStopAll();
