// The sound device and its secondary buffers, in the manner of DirectSound, over one SDL
// audio device. Buffers hold 16-bit mono PCM at 11025 samples per second; every playing
// buffer is mixed into the device's stereo stream with its own volume and pan.
#pragma once

#include <bit>
#include <cstdint>
#include <memory>

#include "platform/mix/mix_voice.h"
#include "platform/win32/guiddef.h"
#include "platform/win32/win.h"

// Results.
constexpr HRESULT DS_OK = 0;
constexpr HRESULT DSERR_GENERIC = E_FAIL;
constexpr HRESULT DSERR_INVALIDPARAM = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT DSERR_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT DSERR_ALLOCATED = static_cast<HRESULT>(0x8878000Au);
constexpr HRESULT DSERR_CONTROLUNAVAIL = static_cast<HRESULT>(0x8878001Eu);
constexpr HRESULT DSERR_INVALIDCALL = static_cast<HRESULT>(0x88780032u);
constexpr HRESULT DSERR_BADFORMAT = static_cast<HRESULT>(0x88780064u);
constexpr HRESULT DSERR_NODRIVER = static_cast<HRESULT>(0x88780078u);

constexpr DWORD DSSCL_NORMAL = 1;

// Buffer capabilities.
constexpr DWORD DSBCAPS_STATIC = 0x00000002;
constexpr DWORD DSBCAPS_LOCSOFTWARE = 0x00000008;
constexpr DWORD DSBCAPS_CTRLFREQUENCY = 0x00000020;
constexpr DWORD DSBCAPS_CTRLPAN = 0x00000040;
constexpr DWORD DSBCAPS_CTRLVOLUME = 0x00000080;

constexpr DWORD DSBPLAY_LOOPING = 0x00000001;
constexpr DWORD DSBLOCK_FROMWRITECURSOR = 0x00000001;
constexpr DWORD DSBLOCK_ENTIREBUFFER = 0x00000002;
constexpr DWORD DSBSTATUS_PLAYING = 0x00000001;
constexpr DWORD DSBSTATUS_LOOPING = 0x00000004;

constexpr LONG DSBVOLUME_MIN = -10000;
constexpr LONG DSBVOLUME_MAX = 0;
constexpr LONG DSBPAN_LEFT = -10000;
constexpr LONG DSBPAN_CENTER = 0;
constexpr LONG DSBPAN_RIGHT = 10000;
constexpr DWORD DSBSIZE_MIN = 4;
constexpr DWORD DSBSIZE_MAX = 0x0FFFFFFF;

constexpr WORD WAVE_FORMAT_PCM = 1;

// The wave format as it is stored in a WAV file's format chunk: 18 bytes, no padding.
#pragma pack(push, 1)
struct WAVEFORMATEX {
  WORD wFormatTag;
  WORD nChannels;
  DWORD nSamplesPerSec;
  DWORD nAvgBytesPerSec;
  WORD nBlockAlign;
  WORD wBitsPerSample;
  WORD cbSize;
};
#pragma pack(pop)
static_assert(sizeof(WAVEFORMATEX) == 18);
// Formats and samples are read from files, which are little-endian, straight into memory.
static_assert(std::endian::native == std::endian::little);
using LPWAVEFORMATEX = WAVEFORMATEX*;

struct DSBUFFERDESC {
  DWORD dwSize;
  DWORD dwFlags;
  DWORD dwBufferBytes;
  DWORD dwReserved;
  LPWAVEFORMATEX lpwfxFormat;
  GUID guid3DAlgorithm;
};

// A secondary buffer. Duplicates share the sample data; each has its own play position,
// volume, pan and play state.
struct IDirectSoundBuffer {
  HRESULT Lock(DWORD offset, DWORD bytes, void** part1, DWORD* bytes1, void** part2,
               DWORD* bytes2, DWORD flags);
  HRESULT Unlock(void* part1, DWORD bytes1, void* part2, DWORD bytes2);
  HRESULT Play(DWORD reserved, DWORD priority, DWORD flags);
  HRESULT Stop();
  // Bytes from the start of the buffer; refused at or past its end.
  HRESULT SetCurrentPosition(DWORD position);
  HRESULT GetCurrentPosition(DWORD* playCursor, DWORD* writeCursor);
  // Attenuation in hundredths of a decibel, DSBVOLUME_MIN to DSBVOLUME_MAX.
  HRESULT SetVolume(LONG volume);
  HRESULT GetVolume(LONG* volume);
  // Negative attenuates the right channel, positive the left, in hundredths of a decibel.
  HRESULT SetPan(LONG pan);
  HRESULT GetPan(LONG* pan);
  HRESULT GetStatus(DWORD* status);
  // Stops the buffer and frees it; the pointer is invalid afterwards.
  void Release();

  DWORD flags = 0;
  DWORD bytes = 0;
  LONG volume = DSBVOLUME_MAX;
  LONG pan = DSBPAN_CENTER;
  bool locked = false;  // between Lock and Unlock, holding the mixer's lock
  std::shared_ptr<int16_t[]> samples;
  MixVoice voice;
};
using LPDIRECTSOUNDBUFFER = IDirectSoundBuffer*;

// Told by SetVolume and SetPan, which every back-end shares: its mix takes the buffer's gains.
void SoundBufferGainsChanged(IDirectSoundBuffer* buffer);

struct IDirectSound {
  // Only checks that a window is given.
  HRESULT SetCooperativeLevel(HWND window, DWORD level);
  HRESULT CreateSoundBuffer(const DSBUFFERDESC* description, IDirectSoundBuffer** buffer,
                            void* outer);
  HRESULT DuplicateSoundBuffer(IDirectSoundBuffer* original, IDirectSoundBuffer** duplicate);
  // Closes the audio device. Buffers made from it fall silent; they are still released
  // one by one.
  void Release();
};
using LPDIRECTSOUND = IDirectSound*;

// Opens the default audio output. Only one device exists at a time. Buffers take only the
// format the mixer plays: PCM, one channel, 11025 frames per second, 16 bits.
HRESULT DirectSoundCreate(const GUID* device, IDirectSound** sound, void* outer);
