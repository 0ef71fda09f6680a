// One voice of the mix: a sound buffer's samples and its playback state, as the mixer reads
// them. Voices are 16-bit mono at 11025 frames per second.
#pragma once

#include <cstdint>

constexpr int kVoiceRate = 11025;

// Changed only by the game thread, under the device lock.
struct MixVoice {
  const int16_t* samples = nullptr;
  uint32_t frames = 0;
  uint32_t position = 0;  // next frame to play
  bool playing = false;
  bool looping = false;
  float gainLeft = 1.0f;
  float gainRight = 1.0f;
};
