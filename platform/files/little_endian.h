// Little-endian integers in byte buffers: the byte order of BMP headers, RIFF chunks and
// Highscore.dat, read and written the same way by the game, its tools and its tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

inline uint32_t ReadLittleEndian(const uint8_t* at, int bytes) {
  uint32_t value = 0;
  for (int i = 0; i < bytes; ++i) value |= uint32_t{at[i]} << (8 * i);
  return value;
}

inline uint32_t ReadLe16(const uint8_t* at) { return ReadLittleEndian(at, 2); }
inline uint32_t ReadLe32(const uint8_t* at) { return ReadLittleEndian(at, 4); }

inline void WriteLittleEndian(uint8_t* at, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

inline void WriteLe32(uint8_t* at, uint32_t value) { WriteLittleEndian(at, value, 4); }

inline void AppendLittleEndian(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

inline void AppendLe16(std::vector<uint8_t>& out, uint32_t value) { AppendLittleEndian(out, value, 2); }
inline void AppendLe32(std::vector<uint8_t>& out, uint32_t value) { AppendLittleEndian(out, value, 4); }
