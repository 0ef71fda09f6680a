#include "platform/win32/dsound.h"

#include <algorithm>
#include <new>

#include "platform/sdl/audio_mixer.h"
#include "platform/seams/headless.h"

namespace {

IDirectSound* OpenDevice = nullptr;

bool IsMixableFormat(const WAVEFORMATEX* format) {
  return format != nullptr && format->wFormatTag == WAVE_FORMAT_PCM && format->nChannels == 1 &&
         format->nSamplesPerSec == static_cast<DWORD>(kVoiceRate) &&
         format->wBitsPerSample == 16;
}

void UpdateGains(IDirectSoundBuffer* buffer) {
  AudioMixerLockGuard lock;
  buffer->voice.gainLeft = DecibelGain(buffer->volume + std::min(0, -buffer->pan));
  buffer->voice.gainRight = DecibelGain(buffer->volume + std::min(0, buffer->pan));
}

// A new buffer over the given samples, stopped at its start and already attached to the mix.
IDirectSoundBuffer* NewBuffer(std::shared_ptr<int16_t[]> samples, DWORD bytes, DWORD flags) {
  auto* buffer = new (std::nothrow) IDirectSoundBuffer;
  if (buffer == nullptr) return nullptr;
  buffer->flags = flags;
  buffer->bytes = bytes;
  buffer->samples = std::move(samples);
  buffer->voice.samples = buffer->samples.get();
  buffer->voice.frames = bytes / 2;
  AudioMixerAttach(&buffer->voice);
  return buffer;
}

}  // namespace

void SoundBufferGainsChanged(IDirectSoundBuffer* buffer) { UpdateGains(buffer); }

HRESULT DirectSoundCreate(const GUID* /*device: only the default exists*/, IDirectSound** sound,
                          void* outer) {
  if (HeadlessStepFails("DirectSoundCreate")) return DSERR_NODRIVER;
  if (sound == nullptr || outer != nullptr) return DSERR_INVALIDPARAM;
  *sound = nullptr;
  if (OpenDevice != nullptr) return DSERR_ALLOCATED;
  if (!AudioMixerOpen()) return DSERR_NODRIVER;
  OpenDevice = new IDirectSound;
  *sound = OpenDevice;
  return DS_OK;
}

HRESULT IDirectSound::SetCooperativeLevel(HWND window, DWORD level) {
  if (HeadlessStepFails("SetCooperativeLevelSound")) return DSERR_INVALIDPARAM;
  if (window == nullptr || level < DSSCL_NORMAL || level > 4) return DSERR_INVALIDPARAM;
  return DS_OK;
}

HRESULT IDirectSound::CreateSoundBuffer(const DSBUFFERDESC* description,
                                        IDirectSoundBuffer** buffer, void* outer) {
  if (HeadlessStepFails("CreateSoundBuffer")) return DSERR_GENERIC;
  if (description == nullptr || buffer == nullptr || outer != nullptr) return DSERR_INVALIDPARAM;
  *buffer = nullptr;
  const DWORD bytes = description->dwBufferBytes;
  if (bytes < DSBSIZE_MIN || bytes > DSBSIZE_MAX) return DSERR_INVALIDPARAM;
  if (!IsMixableFormat(description->lpwfxFormat)) return DSERR_BADFORMAT;
  // Rounded up to whole samples; a trailing odd byte is stored but never played.
  std::shared_ptr<int16_t[]> samples(new (std::nothrow) int16_t[(bytes + 1) / 2]());
  if (samples == nullptr) return DSERR_OUTOFMEMORY;
  *buffer = NewBuffer(std::move(samples), bytes, description->dwFlags);
  return *buffer != nullptr ? DS_OK : DSERR_OUTOFMEMORY;
}

HRESULT IDirectSound::DuplicateSoundBuffer(IDirectSoundBuffer* original,
                                           IDirectSoundBuffer** duplicate) {
  if (HeadlessStepFails("DuplicateSoundBuffer")) return DSERR_GENERIC;
  if (original == nullptr || duplicate == nullptr) return DSERR_INVALIDPARAM;
  *duplicate = NewBuffer(original->samples, original->bytes, original->flags);
  if (*duplicate == nullptr) return DSERR_OUTOFMEMORY;
  (*duplicate)->volume = original->volume;
  (*duplicate)->pan = original->pan;
  UpdateGains(*duplicate);
  return DS_OK;
}

void IDirectSound::Release() {
  AudioMixerClose();
  OpenDevice = nullptr;
  delete this;
}

HRESULT IDirectSoundBuffer::Lock(DWORD offset, DWORD count, void** part1, DWORD* bytes1,
                                 void** part2, DWORD* bytes2, DWORD lockFlags) {
  if (HeadlessStepFails("LockSoundBuffer")) return DSERR_INVALIDCALL;
  if (locked) return DSERR_INVALIDCALL;
  if (part1 == nullptr || bytes1 == nullptr) return DSERR_INVALIDPARAM;
  // The write cursor of a buffer mixed in software is its play position.
  const DWORD start = (lockFlags & DSBLOCK_FROMWRITECURSOR) ? voice.position * 2 : offset;
  const DWORD length = (lockFlags & DSBLOCK_ENTIREBUFFER) ? bytes : count;
  if (start >= bytes || length == 0 || length > bytes) return DSERR_INVALIDPARAM;
  const DWORD first = std::min(length, bytes - start);
  const DWORD wrapped = length - first;
  if (wrapped > 0 && (part2 == nullptr || bytes2 == nullptr)) return DSERR_INVALIDPARAM;

  AudioMixerLock();
  locked = true;
  auto* data = reinterpret_cast<char*>(samples.get());
  *part1 = data + start;
  *bytes1 = first;
  if (part2 != nullptr && bytes2 != nullptr) {
    *part2 = wrapped > 0 ? data : nullptr;
    *bytes2 = wrapped;
  }
  return DS_OK;
}

HRESULT IDirectSoundBuffer::Unlock(void* /*part1*/, DWORD /*bytes1*/, void* /*part2*/,
                                   DWORD /*bytes2*/) {
  if (HeadlessStepFails("UnlockSoundBuffer")) return DSERR_INVALIDCALL;
  if (!locked) return DSERR_INVALIDCALL;
  locked = false;
  AudioMixerUnlock();
  return DS_OK;
}

HRESULT IDirectSoundBuffer::Play(DWORD reserved, DWORD priority, DWORD playFlags) {
  if (reserved != 0 || priority != 0) return DSERR_INVALIDPARAM;
  AudioMixerLockGuard lock;
  voice.looping = (playFlags & DSBPLAY_LOOPING) != 0;
  voice.playing = true;
  return DS_OK;
}

HRESULT IDirectSoundBuffer::Stop() {
  AudioMixerLockGuard lock;
  voice.playing = false;
  return DS_OK;
}

HRESULT IDirectSoundBuffer::SetCurrentPosition(DWORD position) {
  if (position >= bytes) return DSERR_INVALIDPARAM;
  AudioMixerLockGuard lock;
  // Positions fall on whole samples; the odd last byte of a buffer is not one.
  voice.position = std::min(position / 2, voice.frames - 1);
  return DS_OK;
}

HRESULT IDirectSoundBuffer::GetCurrentPosition(DWORD* playCursor, DWORD* writeCursor) {
  AudioMixerLockGuard lock;
  if (playCursor != nullptr) *playCursor = voice.position * 2;
  if (writeCursor != nullptr) *writeCursor = voice.position * 2;
  return DS_OK;
}

HRESULT IDirectSoundBuffer::GetStatus(DWORD* status) {
  if (status == nullptr) return DSERR_INVALIDPARAM;
  AudioMixerLockGuard lock;
  *status = (voice.playing ? DSBSTATUS_PLAYING : 0) | (voice.playing && voice.looping ? DSBSTATUS_LOOPING : 0);
  return DS_OK;
}

void IDirectSoundBuffer::Release() {
  AudioMixerDetach(&voice);
  if (locked) AudioMixerUnlock();
  delete this;
}
