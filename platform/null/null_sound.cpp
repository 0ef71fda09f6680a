// DirectSound with nothing to hear: buffers keep their settings and play state, and their
// samples are written into the scratch memory, since nothing ever reads them.
#include <algorithm>

#include "platform/null/null_objects.h"
#include "platform/win32/dsound.h"

namespace {

IDirectSound* openDevice = nullptr;

}  // namespace

// Nothing is mixed: the gains go nowhere.
void SoundBufferGainsChanged(IDirectSoundBuffer*) {}

HRESULT DirectSoundCreate(const GUID*, IDirectSound** sound, void* outer) {
  if (sound == nullptr || outer != nullptr) return DSERR_INVALIDPARAM;
  *sound = nullptr;
  if (openDevice != nullptr) return DSERR_ALLOCATED;
  openDevice = new IDirectSound;
  *sound = openDevice;
  return DS_OK;
}

HRESULT IDirectSound::SetCooperativeLevel(HWND window, DWORD level) {
  if (window == nullptr || level < DSSCL_NORMAL || level > 4) return DSERR_INVALIDPARAM;
  return DS_OK;
}

HRESULT IDirectSound::CreateSoundBuffer(const DSBUFFERDESC* description,
                                        IDirectSoundBuffer** buffer, void* outer) {
  if (buffer == nullptr || description == nullptr || outer != nullptr) return DSERR_INVALIDPARAM;
  *buffer = nullptr;
  const DWORD bytes = description->dwBufferBytes;
  if (bytes < DSBSIZE_MIN || bytes > DSBSIZE_MAX) return DSERR_INVALIDPARAM;
  const WAVEFORMATEX* format = description->lpwfxFormat;
  if (format == nullptr || format->wFormatTag != WAVE_FORMAT_PCM || format->nChannels != 1 ||
      format->nSamplesPerSec != static_cast<DWORD>(kVoiceRate) || format->wBitsPerSample != 16) {
    return DSERR_BADFORMAT;
  }
  *buffer = new IDirectSoundBuffer;
  (*buffer)->flags = description->dwFlags;
  (*buffer)->bytes = bytes;
  (*buffer)->voice.frames = bytes / 2;
  return DS_OK;
}

HRESULT IDirectSound::DuplicateSoundBuffer(IDirectSoundBuffer* original,
                                           IDirectSoundBuffer** duplicate) {
  if (original == nullptr || duplicate == nullptr) return DSERR_INVALIDPARAM;
  *duplicate = new IDirectSoundBuffer;
  (*duplicate)->flags = original->flags;
  (*duplicate)->bytes = original->bytes;
  (*duplicate)->voice.frames = original->voice.frames;
  (*duplicate)->volume = original->volume;
  (*duplicate)->pan = original->pan;
  return DS_OK;
}

void IDirectSound::Release() {
  if (this == openDevice) openDevice = nullptr;
  delete this;
}

HRESULT IDirectSoundBuffer::Lock(DWORD offset, DWORD count, void** part1, DWORD* bytes1,
                                 void** part2, DWORD* bytes2, DWORD lockFlags) {
  if (locked) return DSERR_INVALIDCALL;
  if (part1 == nullptr || bytes1 == nullptr) return DSERR_INVALIDPARAM;
  const DWORD start = (lockFlags & DSBLOCK_FROMWRITECURSOR) ? voice.position * 2 : offset;
  const DWORD length = (lockFlags & DSBLOCK_ENTIREBUFFER) ? bytes : count;
  if (start >= bytes || length == 0 || length > bytes) return DSERR_INVALIDPARAM;
  const DWORD first = std::min(length, bytes - start);
  const DWORD wrapped = length - first;
  if (wrapped > 0 && (part2 == nullptr || bytes2 == nullptr)) return DSERR_INVALIDPARAM;
  char* scratch = static_cast<char*>(ScratchMemory(bytes));
  if (scratch == nullptr) return DSERR_OUTOFMEMORY;
  locked = true;
  *part1 = scratch + start;
  *bytes1 = first;
  if (part2 != nullptr && bytes2 != nullptr) {
    *part2 = wrapped > 0 ? scratch : nullptr;
    *bytes2 = wrapped;
  }
  return DS_OK;
}

HRESULT IDirectSoundBuffer::Unlock(void*, DWORD, void*, DWORD) {
  if (!locked) return DSERR_INVALIDCALL;
  locked = false;
  return DS_OK;
}

HRESULT IDirectSoundBuffer::Play(DWORD reserved, DWORD priority, DWORD playFlags) {
  if (reserved != 0 || priority != 0) return DSERR_INVALIDPARAM;
  voice.looping = (playFlags & DSBPLAY_LOOPING) != 0;
  voice.playing = true;
  return DS_OK;
}

HRESULT IDirectSoundBuffer::Stop() {
  voice.playing = false;
  return DS_OK;
}

HRESULT IDirectSoundBuffer::SetCurrentPosition(DWORD position) {
  if (position >= bytes) return DSERR_INVALIDPARAM;
  voice.position = std::min(position / 2, voice.frames - 1);
  return DS_OK;
}

HRESULT IDirectSoundBuffer::GetCurrentPosition(DWORD* playCursor, DWORD* writeCursor) {
  if (playCursor != nullptr) *playCursor = voice.position * 2;
  if (writeCursor != nullptr) *writeCursor = voice.position * 2;
  return DS_OK;
}

HRESULT IDirectSoundBuffer::GetStatus(DWORD* status) {
  if (status == nullptr) return DSERR_INVALIDPARAM;
  *status = (voice.playing ? DSBSTATUS_PLAYING : 0) |
            (voice.playing && voice.looping ? DSBSTATUS_LOOPING : 0);
  return DS_OK;
}

void IDirectSoundBuffer::Release() { delete this; }
