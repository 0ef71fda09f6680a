// Keeps the summed stereo mix below the 16-bit limits without clipping it. Below the knee it
// leaves every sample as it is; above, one gain, the same for both channels so that panning
// holds, comes down within a millisecond, holds while the loud part lasts and then rises back
// to exactly 1. Whatever the attack has not yet caught is bent by the same soft knee, so no
// frame ever goes past the ceiling. Nothing here allocates, so it may run in the audio callback.
#pragma once

#include <cstdint>

struct AudioLimiter {
  // Where the gain starts to come down (-3 dBFS) and the level nothing passes (-0.2 dBFS).
  static constexpr float kKnee = 23197.0f;
  static constexpr float kCeiling = 32029.0f;
  // The longest the gain takes to reach 1 again after the last loud frame, however loud.
  static constexpr double kReleaseSeconds = 0.08;

  // Sets the time constants for the stream's rate (frames per second) and starts from rest.
  void Configure(int rate);

  // Limits frames interleaved stereo frames in place.
  void Process(float* samples, int frames);

  float attack = 1.0f;       // share of the way to a lower gain taken each frame
  float release = 1.0f;      // share of the way back up taken each frame, once the hold is over
  uint32_t holdFrames = 0;   // frames the gain stays down after the last frame that asked for it
  float gain = 1.0f;         // the gain now
  uint32_t holdLeft = 0;     // frames of the hold still to run
};
