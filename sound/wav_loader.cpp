#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "platform/win32/mmio.h"
#include "sound/sound_slots.h"

namespace {

// How many bytes follow the read position up to the end of the file.
LONG BytesLeftInFile(HMMIO file) {
  const LONG here = mmioSeek(file, 0, SEEK_CUR);
  const LONG end = mmioSeek(file, 0, SEEK_END);
  if (here < 0 || end < here || mmioSeek(file, here, SEEK_SET) != here) return 0;
  return end - here;
}

int32_t CloseAndFail(HMMIO file) {
  mmioClose(file, 0);
  return -1;
}

int32_t ReleaseAndFail(SoundSlot& slot) {
  if (slot.buffer != nullptr) slot.buffer->Release();
  slot.buffer = nullptr;
  slot.inUse = 0;
  return -1;
}

}  // namespace

int32_t SoundLoadWav(const char* fileName, DWORD extraCapabilities) {
  const int32_t index = LowestFreeSoundSlot();
  if (index < 0) return -1;
  SoundSlot& slot = SoundSlots[index];

  HMMIO file = mmioOpenA(fileName, nullptr, MMIO_ALLOCBUF);
  if (file == nullptr) return -1;
  MMCKINFO form{};
  form.fccType = mmioFOURCC('W', 'A', 'V', 'E');
  if (mmioDescend(file, &form, nullptr, MMIO_FINDRIFF) != MMSYSERR_NOERROR) {
    return CloseAndFail(file);
  }
  MMCKINFO chunk{};
  chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
  if (mmioDescend(file, &chunk, &form, MMIO_FINDCHUNK) != MMSYSERR_NOERROR) {
    return CloseAndFail(file);
  }
  // 18 bytes whatever the chunk's size: a 16-byte PCM chunk passes, cbSize then being
  // whatever follows it, which is never used.
  WAVEFORMATEX fileFormat{};
  if (mmioRead(file, reinterpret_cast<HPSTR>(&fileFormat), sizeof fileFormat) !=
      static_cast<LONG>(sizeof fileFormat)) {
    return CloseAndFail(file);
  }
  if (fileFormat.wFormatTag != WAVE_FORMAT_PCM) return CloseAndFail(file);
  if (mmioAscend(file, &chunk, 0) != MMSYSERR_NOERROR) return CloseAndFail(file);
  chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
  if (mmioDescend(file, &chunk, &form, MMIO_FINDCHUNK) != MMSYSERR_NOERROR) {
    return CloseAndFail(file);
  }

  // A damaged file may claim more sample data than it holds: take what is there, so that
  // nothing larger than the file is ever allocated.
  const LONG wanted = static_cast<LONG>(std::min<int64_t>(chunk.cksize, BytesLeftInFile(file)));
  // More than a sound buffer can hold is refused before a byte of it is read.
  if (wanted <= 0 || static_cast<DWORD>(wanted) > DSBSIZE_MAX) return CloseAndFail(file);
  std::vector<char> block;
  try {
    block.resize(static_cast<size_t>(wanted));
  } catch (const std::bad_alloc&) {
    return CloseAndFail(file);
  }
  const LONG dataBytes = mmioRead(file, block.data(), wanted);
  mmioClose(file, 0);
  if (dataBytes <= 0) return -1;

  slot.sampleRate = static_cast<int32_t>(fileFormat.nSamplesPerSec);
  slot.dataBytes = dataBytes;
  slot.inUse = 1;

  // Every sound is played as 16-bit mono at 11025 samples per second.
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 1;
  format.nSamplesPerSec = 11025;
  format.nAvgBytesPerSec = 22050;
  format.nBlockAlign = 2;
  format.wBitsPerSample = 16;
  format.cbSize = 0;
  DSBUFFERDESC description{};
  description.dwSize = 36;
  description.dwFlags = DSBCAPS_STATIC | DSBCAPS_LOCSOFTWARE | extraCapabilities;
  description.dwBufferBytes = static_cast<DWORD>(dataBytes);
  description.dwReserved = 0;
  description.lpwfxFormat = &format;
  description.guid3DAlgorithm = {};

  if (SoundDevice == nullptr ||
      SoundDevice->CreateSoundBuffer(&description, &slot.buffer, nullptr) != DS_OK) {
    return ReleaseAndFail(slot);
  }
  void* part1 = nullptr;
  void* part2 = nullptr;
  DWORD bytes1 = 0;
  DWORD bytes2 = 0;
  if (slot.buffer->Lock(0, static_cast<DWORD>(dataBytes), &part1, &bytes1, &part2, &bytes2,
                        DSBLOCK_FROMWRITECURSOR) != DS_OK) {
    return ReleaseAndFail(slot);
  }
  std::memcpy(part1, block.data(), bytes1);
  if (part2 != nullptr) std::memcpy(part2, block.data() + bytes1, bytes2);
  if (slot.buffer->Unlock(part1, bytes1, part2, bytes2) != DS_OK) {
    return ReleaseAndFail(slot);
  }
  return index;
}
