// A sound buffer's volume and pan, kept alike by every back-end, which then hears of the change.
#include "platform/win32/dsound.h"

HRESULT IDirectSoundBuffer::SetVolume(LONG newVolume) {
  if (!(flags & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
  if (newVolume < DSBVOLUME_MIN || newVolume > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
  volume = newVolume;
  SoundBufferGainsChanged(this);
  return DS_OK;
}

HRESULT IDirectSoundBuffer::GetVolume(LONG* current) {
  if (!(flags & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
  if (current == nullptr) return DSERR_INVALIDPARAM;
  *current = volume;
  return DS_OK;
}

HRESULT IDirectSoundBuffer::SetPan(LONG newPan) {
  if (!(flags & DSBCAPS_CTRLPAN)) return DSERR_CONTROLUNAVAIL;
  if (newPan < DSBPAN_LEFT || newPan > DSBPAN_RIGHT) return DSERR_INVALIDPARAM;
  pan = newPan;
  SoundBufferGainsChanged(this);
  return DS_OK;
}

HRESULT IDirectSoundBuffer::GetPan(LONG* current) {
  if (!(flags & DSBCAPS_CTRLPAN)) return DSERR_CONTROLUNAVAIL;
  if (current == nullptr) return DSERR_INVALIDPARAM;
  *current = pan;
  return DS_OK;
}
