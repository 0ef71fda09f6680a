// The cost of the mix: one second of output with 56 looping sounds (every slot the game
// fills at start-up), the limiter alone at its dearest, and merely copying the same number
// of samples.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "platform/mix/audio_limiter.h"
#include "platform/sdl/audio_mixer.h"
#include "platform/seams/headless.h"

namespace {

constexpr int kVoices = 56;

struct MixFixture {
  std::vector<std::vector<int16_t>> sounds;
  std::vector<MixVoice> voices;

  bool ownsMixer = false;  // the game's own start-up may have opened it in this process

  MixFixture() {
    HeadlessEnable();
    ownsMixer = !AudioMixerIsOpen();
    if (ownsMixer && !AudioMixerOpen()) return;
    sounds.resize(kVoices);
    voices.resize(kVoices);
    for (int v = 0; v < kVoices; ++v) {
      // Sounds of different lengths, so that their seams fall at different times.
      sounds[v].resize(static_cast<size_t>(5000 + 97 * v));
      for (size_t i = 0; i < sounds[v].size(); ++i) {
        sounds[v][i] = static_cast<int16_t>(3000 * std::sin(0.05 * double(i) * (v + 1)));
      }
      MixVoice& voice = voices[v];
      voice.samples = sounds[v].data();
      voice.frames = static_cast<uint32_t>(sounds[v].size());
      voice.playing = voice.looping = true;
      voice.gainLeft = DecibelGain(-630);
      voice.gainRight = DecibelGain(-1200);
      AudioMixerAttach(&voice);
    }
  }
  ~MixFixture() {
    for (MixVoice& voice : voices) AudioMixerDetach(&voice);
    if (ownsMixer) AudioMixerClose();
  }
};

void BM_Mix56LoopingBuffersOneSecond(benchmark::State& state) {
  MixFixture fixture;
  if (fixture.voices.empty()) {
    state.SkipWithError("no audio device");
    return;
  }
  const int frames = AudioMixerRate();
  std::vector<int16_t> out(2 * static_cast<size_t>(frames));
  for (auto _ : state) {
    AudioMixerRender(out.data(), frames);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  // One iteration is one second of sound: its time over a second is the share of a core
  // that real-time playback takes.
  state.counters["device_rate"] = frames;
}
BENCHMARK(BM_Mix56LoopingBuffersOneSecond)->Unit(benchmark::kMillisecond);

// Every frame above the knee, so that every frame bends: the most the limiter can cost.
void BM_LimitOneLoudSecond(benchmark::State& state) {
  constexpr int kRate = 44100;
  std::vector<float> loud(2 * kRate);
  for (size_t i = 0; i < loud.size(); ++i) {
    loud[i] = static_cast<float>((i % 7 + 2) * 20000) * (i % 4 < 2 ? 1.0f : -1.0f);
  }
  std::vector<float> samples(loud.size());
  AudioLimiter limiter;
  limiter.Configure(kRate);
  for (auto _ : state) {
    state.PauseTiming();
    samples = loud;
    state.ResumeTiming();
    limiter.Process(samples.data(), kRate);
    benchmark::DoNotOptimize(samples.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_LimitOneLoudSecond)->Unit(benchmark::kMillisecond);

void BM_CopySameSamplesOneSecond(benchmark::State& state) {
  const size_t samples = 2 * 44100;  // the device rate the mix asks for
  std::vector<int16_t> source(samples, 1234);
  std::vector<int16_t> out(samples);
  for (auto _ : state) {
    std::memcpy(out.data(), source.data(), samples * sizeof(int16_t));
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CopySameSamplesOneSecond)->Unit(benchmark::kMillisecond);

}  // namespace
