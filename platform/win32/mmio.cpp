#include "platform/win32/mmio.h"

#include <climits>
#include <string>

#include "platform/files/game_data_folder.h"
#include "platform/files/little_endian.h"
#include "platform/files/regular_file.h"

struct MmioFile {
  std::FILE* stream = nullptr;
  int64_t size = 0;
  char buffer[8192];
};

namespace {

constexpr int64_t kLargestFile = INT32_MAX;

int64_t Position(HMMIO file) { return ftello(file->stream); }

bool SeekTo(HMMIO file, int64_t position) {
  return position >= 0 && fseeko(file->stream, static_cast<off_t>(position), SEEK_SET) == 0;
}

bool ReadDword(HMMIO file, DWORD* value) {
  uint8_t bytes[4];
  if (std::fread(bytes, 1, 4, file->stream) != 4) return false;
  *value = ReadLe32(bytes);
  return true;
}

bool HasFormType(FOURCC id) { return id == FOURCC_RIFF || id == FOURCC_LIST; }

bool Matches(const MMCKINFO& wanted, const MMCKINFO& found, UINT flags) {
  if (flags & MMIO_FINDRIFF) return found.ckid == FOURCC_RIFF && found.fccType == wanted.fccType;
  if (flags & MMIO_FINDLIST) return found.ckid == FOURCC_LIST && found.fccType == wanted.fccType;
  if (flags & MMIO_FINDCHUNK) return found.ckid == wanted.ckid;
  return true;
}

// Past a chunk's data and the pad byte that keeps the next chunk at an even offset.
int64_t ChunkEnd(const MMCKINFO& chunk) {
  return static_cast<int64_t>(chunk.dwDataOffset) + chunk.cksize + (chunk.cksize & 1);
}

}  // namespace

HMMIO mmioOpenA(LPCSTR fileName, MMIOINFO* /*info*/, DWORD openFlags) {
  if (fileName == nullptr || (openFlags & (MMIO_WRITE | MMIO_READWRITE | MMIO_CREATE))) {
    return nullptr;
  }
  const std::string path = GameDataPath(fileName);
  std::FILE* stream = OpenRegularFileStream(path.c_str());
  if (stream == nullptr) {
    NoteUnreadableGameFile(path);
    return nullptr;
  }
  auto* file = new MmioFile;
  file->stream = stream;
  std::setvbuf(stream, file->buffer, _IOFBF, sizeof file->buffer);
  if (fseeko(stream, 0, SEEK_END) != 0 || (file->size = ftello(stream)) < 0 ||
      file->size > kLargestFile || fseeko(stream, 0, SEEK_SET) != 0) {
    mmioClose(file, 0);
    return nullptr;
  }
  return file;
}

MMRESULT mmioClose(HMMIO file, UINT /*flags*/) {
  if (file == nullptr) return MMSYSERR_NOERROR;
  std::fclose(file->stream);
  delete file;
  return MMSYSERR_NOERROR;
}

LONG mmioRead(HMMIO file, HPSTR buffer, LONG count) {
  if (file == nullptr || count < 0 || (buffer == nullptr && count > 0)) return -1;
  const size_t read = std::fread(buffer, 1, static_cast<size_t>(count), file->stream);
  if (read < static_cast<size_t>(count) && std::ferror(file->stream)) return -1;
  return static_cast<LONG>(read);
}

LONG mmioSeek(HMMIO file, LONG offset, int origin) {
  if (file == nullptr) return -1;
  int64_t base = 0;
  if (origin == SEEK_CUR) {
    base = Position(file);
  } else if (origin == SEEK_END) {
    base = file->size;
  } else if (origin != SEEK_SET) {
    return -1;
  }
  const int64_t target = base + offset;
  if (target > kLargestFile || !SeekTo(file, target)) return -1;
  return static_cast<LONG>(target);
}

MMRESULT mmioDescend(HMMIO file, MMCKINFO* chunk, const MMCKINFO* parent, UINT flags) {
  if (file == nullptr || chunk == nullptr) return MMIOERR_CHUNKNOTFOUND;
  const int64_t limit = parent ? static_cast<int64_t>(parent->dwDataOffset) + parent->cksize
                               : file->size;
  for (;;) {
    const int64_t start = Position(file);
    if (start < 0 || start + 8 > limit) return MMIOERR_CHUNKNOTFOUND;
    MMCKINFO found;
    if (!ReadDword(file, &found.ckid) || !ReadDword(file, &found.cksize)) {
      return MMIOERR_CHUNKNOTFOUND;
    }
    found.dwDataOffset = static_cast<DWORD>(start + 8);
    if (HasFormType(found.ckid) && !ReadDword(file, &found.fccType)) {
      return MMIOERR_CHUNKNOTFOUND;
    }
    if (Matches(*chunk, found, flags)) {
      *chunk = found;
      return MMSYSERR_NOERROR;
    }
    if (!SeekTo(file, ChunkEnd(found))) return MMIOERR_CHUNKNOTFOUND;
  }
}

MMRESULT mmioAscend(HMMIO file, MMCKINFO* chunk, UINT /*flags*/) {
  if (file == nullptr || chunk == nullptr) return MMIOERR_CANNOTSEEK;
  return SeekTo(file, ChunkEnd(*chunk)) ? MMSYSERR_NOERROR : MMIOERR_CANNOTSEEK;
}
