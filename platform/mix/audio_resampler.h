// Converts a stereo stream from one sample rate to another with a windowed-sinc filter,
// one output frame at a time, pulling source frames as it needs them. Nothing here
// allocates after Configure, so it may run in the audio callback.
#pragma once

#include <cstdint>
#include <vector>

struct AudioResampler {
  static constexpr int kZeroCrossings = 8;
  static constexpr int kTaps = 2 * kZeroCrossings;

  // Builds the filter table and starts from silence. Rates in frames per second.
  void Configure(int sourceRate, int targetRate);

  // Writes frames interleaved stereo output frames; nextFrame(float* left, float* right)
  // supplies the next source frame each time one is needed.
  template <typename NextFrame>
  void Render(float* out, int frames, NextFrame&& nextFrame) {
    for (int i = 0; i < frames; ++i) {
      const float* taps = &table[(static_cast<uint64_t>(phase) * phases / target) * kTaps];
      float sumLeft = 0.0f;
      float sumRight = 0.0f;
      for (int j = 0; j < kTaps; ++j) {
        sumLeft += taps[j] * left[head + j];
        sumRight += taps[j] * right[head + j];
      }
      out[2 * i] = sumLeft;
      out[2 * i + 1] = sumRight;
      for (phase += source; phase >= target; phase -= target) {
        float l = 0.0f;
        float r = 0.0f;
        nextFrame(&l, &r);
        Push(l, r);
      }
    }
  }

  void Push(float l, float r) {
    // Each frame is kept twice so that the newest kTaps frames are always contiguous.
    left[head] = left[head + kTaps] = l;
    right[head] = right[head + kTaps] = r;
    head = (head + 1) % kTaps;
  }

  uint32_t source = 1;
  uint32_t target = 1;
  uint32_t phases = 1;
  uint32_t phase = 0;  // position between source frames, in units of 1/target
  int head = 0;
  float left[2 * kTaps] = {};
  float right[2 * kTaps] = {};
  std::vector<float> table;  // phases rows of kTaps coefficients
};
