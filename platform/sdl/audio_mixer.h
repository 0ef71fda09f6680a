// The mix behind the sound device: every playing voice summed into one stereo stream at the
// device's rate. Voices are 16-bit mono at 11025 frames per second. In the real mode SDL's
// audio callback pulls the mix; while headless no audio thread runs and the mix advances
// only when a test captures it, so what a test hears is exactly what a player would.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/mix/mix_voice.h"
#include "platform/win32/win.h"

// Opens the default audio output (SDL's audio subsystem and one device). False on failure.
bool AudioMixerOpen();
void AudioMixerClose();
bool AudioMixerIsOpen();
// Frames per second of the device's stream.
int AudioMixerRate();
// While held, the device plays nothing and the voices stand where they are (a watched replay
// paused, or running ahead unseen). Headless, the device is never played.
void AudioMixerHold(bool held);

// Hold the lock around every change to a voice that is attached; it may be taken again by
// the thread that holds it.
void AudioMixerLock();
void AudioMixerUnlock();
struct AudioMixerLockGuard {
  AudioMixerLockGuard() { AudioMixerLock(); }
  ~AudioMixerLockGuard() { AudioMixerUnlock(); }
  AudioMixerLockGuard(const AudioMixerLockGuard&) = delete;
  AudioMixerLockGuard& operator=(const AudioMixerLockGuard&) = delete;
};

// Voices are mixed from the moment they are attached until they are detached.
void AudioMixerAttach(MixVoice* voice);
void AudioMixerDetach(MixVoice* voice);

// Mixes the next frames of output, interleaved stereo, limited below the 16-bit limits.
// Called with the lock held; allocates nothing.
void AudioMixerRender(int16_t* out, int frames);

// Headless only: advances the mix by frames and returns them, interleaved stereo at
// AudioMixerRate(). Empty when the device is not open or not headless.
std::vector<int16_t> AudioCaptureMix(int frames);

// The linear gain of an attenuation in hundredths of a decibel; DSBVOLUME_MIN and below
// are silence.
float DecibelGain(LONG hundredths);
