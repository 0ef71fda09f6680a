// SHA-256, written out here so that the rooms that key games and proofs need no crypto library.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The SHA-256 of `bytes`, in lower-case hexadecimal.
std::string Sha256Hex(const std::string& bytes);

// The same, of text given piece by piece; the digest of what was added so far may be taken at
// any point, and more added after it.
class Sha256 {
 public:
  void Add(std::string_view bytes);
  std::string HexSoFar() const;

 private:
  void Block(const uint8_t* block);

  std::array<uint32_t, 8> state_{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
  std::array<uint8_t, 64> pending_{};
  size_t pendingSize_ = 0;
  uint64_t totalBytes_ = 0;
};
