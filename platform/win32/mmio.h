// Multimedia file I/O: buffered reading of RIFF files (WAV sounds), with the chunk
// navigation of the Windows mmio functions.
#pragma once

#include <cstdint>
#include <cstdio>  // SEEK_SET, SEEK_CUR, SEEK_END for mmioSeek

#include "platform/win32/win.h"

using FOURCC = DWORD;
using MMRESULT = UINT;
using HPSTR = char*;

struct MmioFile;
using HMMIO = MmioFile*;

// The info block of mmioOpenA; the game passes none.
struct MMIOINFO;

struct MMCKINFO {
  FOURCC ckid = 0;
  DWORD cksize = 0;
  FOURCC fccType = 0;
  DWORD dwDataOffset = 0;
  DWORD dwFlags = 0;
};

constexpr FOURCC mmioFOURCC(char a, char b, char c, char d) {
  return static_cast<FOURCC>(static_cast<uint8_t>(a)) |
         static_cast<FOURCC>(static_cast<uint8_t>(b)) << 8 |
         static_cast<FOURCC>(static_cast<uint8_t>(c)) << 16 |
         static_cast<FOURCC>(static_cast<uint8_t>(d)) << 24;
}
constexpr FOURCC FOURCC_RIFF = mmioFOURCC('R', 'I', 'F', 'F');
constexpr FOURCC FOURCC_LIST = mmioFOURCC('L', 'I', 'S', 'T');

constexpr DWORD MMIO_READ = 0x00000000;
constexpr DWORD MMIO_WRITE = 0x00000001;
constexpr DWORD MMIO_READWRITE = 0x00000002;
constexpr DWORD MMIO_CREATE = 0x00001000;
constexpr DWORD MMIO_ALLOCBUF = 0x00010000;
constexpr UINT MMIO_FINDCHUNK = 0x0010;
constexpr UINT MMIO_FINDRIFF = 0x0020;
constexpr UINT MMIO_FINDLIST = 0x0040;

constexpr MMRESULT MMSYSERR_NOERROR = 0;
constexpr MMRESULT MMIOERR_CHUNKNOTFOUND = 265;
constexpr MMRESULT MMIOERR_CANNOTSEEK = 266;
constexpr MMRESULT MMIOERR_CANNOTREAD = 260;

// Opens a file for reading. The name may use backslashes ("snd\Hit.WAV"); they are taken
// as directory separators relative to the working directory. Writing is not supported, nor
// are files of 2 GiB or more (offsets are 32-bit).
HMMIO mmioOpenA(LPCSTR fileName, MMIOINFO* info, DWORD openFlags);
MMRESULT mmioClose(HMMIO file, UINT flags);

// Reads up to count bytes; the number read (0 at the end of the file), or -1 on an error.
LONG mmioRead(HMMIO file, HPSTR buffer, LONG count);
// Moves the read position; the new position, or -1 if it cannot.
LONG mmioSeek(HMMIO file, LONG offset, int origin);

// Reads the chunk header at the read position, or with MMIO_FINDRIFF, MMIO_FINDLIST or
// MMIO_FINDCHUNK searches forward for the matching chunk, skipping others (and the pad
// byte after an odd-sized one), within the parent's data when a parent is given. Leaves
// the read position at the chunk's data (after the form type of a RIFF or LIST chunk).
MMRESULT mmioDescend(HMMIO file, MMCKINFO* chunk, const MMCKINFO* parent, UINT flags);
// Moves the read position past the end of the chunk and its pad byte.
MMRESULT mmioAscend(HMMIO file, MMCKINFO* chunk, UINT flags);
