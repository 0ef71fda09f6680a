#include "platform/sdl/audio_mixer.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdio>

#include "platform/mix/audio_limiter.h"
#include "platform/mix/audio_resampler.h"
#include "platform/options/player_options.h"
#include "platform/win32/dsound.h"
#include "platform/sdl/host_session.h"
#include "platform/seams/headless.h"

namespace {

constexpr int kRequestedRate = 44100;
constexpr Uint16 kDevicePeriod = 512;  // frames per callback: about 12 ms at 44.1 kHz
constexpr int kChunk = 256;            // frames mixed per pass through the scratch buffer

struct Mixer {
  bool open = false;
  SDL_AudioDeviceID device = 0;  // none for a headless mix where SDL runs no audio thread
  int rate = kRequestedRate;
  std::vector<MixVoice*> voices;
  AudioResampler resampler;
  AudioLimiter limiter;
  bool held = false;  // the device paused by AudioMixerHold
};

// Never destroyed: the game leaves the device open to the end of the process, and the
// audio thread may still be mixing while static objects are torn down at exit.
Mixer& TheMixer() {
  static Mixer* mixer = new Mixer;
  return *mixer;
}

// The next frame at the voices' rate: every playing voice summed, each with its gains.
void MixVoiceFrame(float* left, float* right) {
  for (MixVoice* voice : TheMixer().voices) {
    if (!voice->playing) continue;
    const float sample = voice->samples[voice->position];
    *left += sample * voice->gainLeft;
    *right += sample * voice->gainRight;
    if (++voice->position >= voice->frames) {
      voice->position = 0;
      voice->playing = voice->looping;
    }
  }
}

int16_t Saturate(float value) {
  return static_cast<int16_t>(std::lrint(std::clamp(value, -32768.0f, 32767.0f)));
}

void AudioCallback(void* /*userdata*/, Uint8* stream, int length) {
  AudioMixerRender(reinterpret_cast<int16_t*>(stream), length / (2 * int{sizeof(int16_t)}));
}

// Said once, beside the game's own box: why, and the way to play all the same.
void SayWhyNoDevice() {
  if (HeadlessActive()) return;
  std::fprintf(stderr,
               "Zimbrel: cannot open a sound device: %s; start with --mute to play without sound\n",
               SDL_GetError());
}

// SDL's device, at the rate it gives if allowed, else at the rate asked for with SDL converting;
// false, and no device, when there is none.
bool OpenDevice(Mixer& mixer, int allowedChanges) {
  // Muted, SDL's dummy driver stands in for the device: it takes the mix at the device's
  // pace and plays it to nobody, so the sounds start, loop and end as they would be heard.
  if (CurrentPlayerOptions().mute) {
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
  }
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    SayWhyNoDevice();
    return false;
  }
  SDL_AudioSpec wanted{};
  wanted.freq = kRequestedRate;
  wanted.format = AUDIO_S16SYS;
  wanted.channels = 2;
  wanted.samples = kDevicePeriod;
  wanted.callback = AudioCallback;
  SDL_AudioSpec obtained{};
  mixer.device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, allowedChanges);
  if (mixer.device == 0 || obtained.freq <= 0) {
    SayWhyNoDevice();
    if (mixer.device != 0) SDL_CloseAudioDevice(mixer.device);
    mixer.device = 0;
    return false;
  }
  mixer.rate = obtained.freq;
  return true;
}

// The device that waited for the player's first gesture, at the rate the mix already runs at;
// without it the game goes on unheard.
int OpenDeviceAtGesture(void*, SDL_Event* event) {
  if (event->type != SDL_MOUSEBUTTONDOWN && event->type != SDL_KEYDOWN &&
      event->type != SDL_FINGERDOWN) {
    return 0;
  }
  SDL_DelEventWatch(OpenDeviceAtGesture, nullptr);
  Mixer& mixer = TheMixer();
  if (mixer.open && mixer.device == 0 && OpenDevice(mixer, 0)) {
    SDL_PauseAudioDevice(mixer.device, mixer.held ? 1 : 0);
  }
  return 0;
}

}  // namespace

bool AudioMixerOpen() {
  Mixer& mixer = TheMixer();
  if (mixer.open) return false;
  // Headless, only captures advance the mix: where SDL could run no device's thread, or where
  // only the rules run (a process that forks a check must hold no thread that takes a lock),
  // the mix goes without one, at the rate one would be asked for.
  if (HeadlessActive() && (HeadlessRulesOnly() || !HostRunsAudioThreads())) {
    mixer.rate = kRequestedRate;
  } else if (!HostOpensSoundAtOnce()) {
    // The device comes at the first gesture: the mix keeps the rate it asks for and SDL
    // converts to the device's then, so nothing of the game depends on when it came.
    mixer.rate = kRequestedRate;
    SDL_AddEventWatch(OpenDeviceAtGesture, nullptr);
  } else if (!OpenDevice(mixer, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE)) {
    AudioMixerClose();
    return false;
  }
  mixer.resampler.Configure(kVoiceRate, mixer.rate);
  mixer.limiter.Configure(mixer.rate);
  mixer.voices.reserve(64);
  mixer.open = true;
  // Headless, the device stays paused.
  if (mixer.device != 0 && !HeadlessActive()) {
    SDL_PauseAudioDevice(mixer.device, mixer.held ? 1 : 0);
  }
  return true;
}

void AudioMixerClose() {
  Mixer& mixer = TheMixer();
  SDL_DelEventWatch(OpenDeviceAtGesture, nullptr);
  if (mixer.device != 0) SDL_CloseAudioDevice(mixer.device);
  mixer.device = 0;
  mixer.open = false;
  mixer.voices.clear();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool AudioMixerIsOpen() { return TheMixer().open; }

int AudioMixerRate() { return TheMixer().rate; }

void AudioMixerLock() {
  if (TheMixer().device != 0) SDL_LockAudioDevice(TheMixer().device);
}

void AudioMixerUnlock() {
  if (TheMixer().device != 0) SDL_UnlockAudioDevice(TheMixer().device);
}

void AudioMixerAttach(MixVoice* voice) {
  AudioMixerLockGuard lock;
  TheMixer().voices.push_back(voice);
}

void AudioMixerDetach(MixVoice* voice) {
  AudioMixerLockGuard lock;
  std::erase(TheMixer().voices, voice);
}

void AudioMixerRender(int16_t* out, int frames) {
  float scratch[2 * kChunk];
  while (frames > 0) {
    const int count = std::min(frames, kChunk);
    TheMixer().resampler.Render(scratch, count, MixVoiceFrame);
    TheMixer().limiter.Process(scratch, count);
    for (int i = 0; i < 2 * count; ++i) out[i] = Saturate(scratch[i]);
    out += 2 * count;
    frames -= count;
  }
}

std::vector<int16_t> AudioCaptureMix(int frames) {
  if (!HeadlessActive() || !AudioMixerIsOpen() || frames <= 0) return {};
  std::vector<int16_t> out(static_cast<size_t>(frames) * 2);
  AudioMixerLockGuard lock;
  AudioMixerRender(out.data(), frames);
  return out;
}

float DecibelGain(LONG hundredths) {
  if (hundredths <= DSBVOLUME_MIN) return 0.0f;
  if (hundredths > 0) return static_cast<float>(std::pow(10.0, hundredths / 2000.0));
  // Each level's gain is worked out once: every fly's buzz is panned anew on every frame, and a
  // check plays whole games in a few milliseconds. Zero marks a level not yet worked out.
  static std::array<std::atomic<float>, -DSBVOLUME_MIN> known{};
  std::atomic<float>& slot = known[static_cast<size_t>(-hundredths)];
  float gain = slot.load(std::memory_order_relaxed);
  if (gain == 0.0f) {
    gain = static_cast<float>(std::pow(10.0, hundredths / 2000.0));
    slot.store(gain, std::memory_order_relaxed);
  }
  return gain;
}

void AudioMixerHold(bool held) {
  Mixer& mixer = TheMixer();
  mixer.held = held;
  if (mixer.device != 0 && !HeadlessActive()) SDL_PauseAudioDevice(mixer.device, held ? 1 : 0);
}
