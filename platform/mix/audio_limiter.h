// Keeps the summed stereo mix inside the 16-bit range without clipping it, and leaves alone
// whatever already fits. It looks a millisecond ahead (the mix comes out that much later):
// where no frame of that millisecond would clip, nor one of the 80 ms before it, every sample
// comes out exactly as it went in. A frame that would clip is brought to the ceiling by one
// gain for both channels, so that panning holds; the gain glides down over the look-ahead
// before it, holds while the loud part lasts and then rises back to exactly 1. Nothing here
// allocates after Configure, so Process may run in the audio callback.
#pragma once

#include <cstdint>
#include <vector>

struct AudioLimiter {
  // The level a bent frame reaches: one step below full scale, so that no limited sample ever
  // sits on it.
  static constexpr float kCeiling = 32766.0f;
  static constexpr double kLookAheadSeconds = 0.001;
  // Longer than a period of the lowest buzz, so the gain does not rise between its peaks.
  static constexpr double kHoldSeconds = 0.02;
  // The longest the gain takes to reach 1 again after the last frame that would clip, however
  // loud it was.
  static constexpr double kReleaseSeconds = 0.08;

  // Sets the lengths for the stream's rate (frames per second) and starts from silence.
  void Configure(int rate);

  // Limits frames interleaved stereo frames in place; each comes out latency frames later.
  void Process(float* samples, int frames);

  int latency = 1;     // frames of look-ahead, the delay of the output
  float gain = 1.0f;   // the gain applied to the frame that came out last
  float release = 1.0f;  // share of the way back up taken each frame

 private:
  void PushNeed(float need);
  float TargetGain();

  // The frames still to come out.
  std::vector<float> delayed;
  int delayedAt = 0;
  // The smallest gain any frame of the last hold + look-ahead asked for: a queue of rising
  // gains, each with the frame it came with.
  std::vector<float> queueGain;
  std::vector<uint64_t> queueFrame;
  int queueHead = 0;
  int queueSize = 0;
  // Those smallest gains over the look-ahead, averaged: the gain glides down over it.
  std::vector<float> recentHolds;
  int recentAt = 0;
  double recentSum = 0.0;
  int recentBelowOne = 0;
  uint64_t frame = 0;
};
