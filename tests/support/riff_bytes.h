// RIFF files built and taken apart byte by byte, for tests of the game's WAV reading: chunks
// with true or lying sizes, forms around them, and the chunks of a file the game or sox wrote.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/file_bytes.h"

// One chunk: id, size (the real one unless a lying size is given), data, pad byte if odd.
Bytes Chunk(const char* id, const Bytes& data, int64_t claimedSize = -1);

// A RIFF form of the given type around the chunks, with the size they really take.
Bytes RiffForm(const char* type, const std::vector<Bytes>& chunks);

struct ParsedChunk {
  std::string id;
  Bytes data;
};

// The chunks inside a RIFF file, in order, up to the first that claims more than the file holds.
std::vector<ParsedChunk> ChunksOf(const Bytes& file);
// The data of the file's first chunk with that id; empty when there is none.
Bytes ChunkData(const Bytes& file, const std::string& id);

// A valid 16-byte PCM format chunk's data.
Bytes PcmFormat(uint16_t channels, uint32_t rate, uint16_t bits);
