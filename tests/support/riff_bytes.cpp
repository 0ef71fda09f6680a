#include "tests/support/riff_bytes.h"

#include "platform/files/little_endian.h"

namespace {

// Byte by byte: GCC 12 at -O3 takes a range insert into an empty vector for an overflow.
void PutId(Bytes& bytes, const char* id) {
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(id[i]));
}

}  // namespace

Bytes Chunk(const char* id, const Bytes& data, int64_t claimedSize) {
  Bytes bytes;
  PutId(bytes, id);
  AppendLe32(bytes, static_cast<uint32_t>(claimedSize < 0 ? int64_t(data.size()) : claimedSize));
  bytes.insert(bytes.end(), data.begin(), data.end());
  if (data.size() % 2) bytes.push_back(0);
  return bytes;
}

Bytes RiffForm(const char* type, const std::vector<Bytes>& chunks) {
  Bytes body;
  PutId(body, type);
  for (const Bytes& chunk : chunks) body.insert(body.end(), chunk.begin(), chunk.end());
  return Chunk("RIFF", body);
}

std::vector<ParsedChunk> ChunksOf(const Bytes& file) {
  std::vector<ParsedChunk> chunks;
  size_t at = 12;
  while (at + 8 <= file.size()) {
    const uint32_t size = ReadLe32(&file[at + 4]);
    if (size > file.size() - at - 8) break;
    ParsedChunk chunk{std::string(file.begin() + at, file.begin() + at + 4), {}};
    chunk.data.assign(file.begin() + at + 8, file.begin() + at + 8 + size);
    chunks.push_back(chunk);
    at += 8 + size + (size & 1);
  }
  return chunks;
}

Bytes ChunkData(const Bytes& file, const std::string& id) {
  for (const ParsedChunk& chunk : ChunksOf(file)) {
    if (chunk.id == id) return chunk.data;
  }
  return {};
}

Bytes PcmFormat(uint16_t channels, uint32_t rate, uint16_t bits) {
  Bytes bytes = {1, 0, static_cast<uint8_t>(channels), 0};
  AppendLe32(bytes, rate);
  AppendLe32(bytes, rate * channels * bits / 8);
  bytes.push_back(static_cast<uint8_t>(channels * bits / 8));
  bytes.push_back(0);
  bytes.push_back(static_cast<uint8_t>(bits));
  bytes.push_back(0);
  return bytes;
}
