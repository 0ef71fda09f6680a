#include "platform/files/bitmap_header.h"

#include <cstdint>

#include "platform/files/little_endian.h"

namespace {

constexpr size_t kFileHeaderBytes = 14;
constexpr uint32_t kCoreHeaderBytes = 12;
constexpr uint32_t kInfoHeaderBytes = 40;

enum Compression : uint32_t { kRgb = 0, kBitFields = 3 };

bool KnownDepth(uint32_t bits) {
  return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16 || bits == 24 ||
         bits == 32;
}

}  // namespace

bool BitmapHeaderFits(const unsigned char* bytes, size_t size) {
  if (bytes == nullptr || size < kFileHeaderBytes + 4 || bytes[0] != 'B' || bytes[1] != 'M') {
    return false;
  }
  const uint32_t pixelOffset = ReadLe32(bytes + 10);
  const unsigned char* info = bytes + kFileHeaderBytes;
  const uint32_t infoBytes = ReadLe32(info);
  int64_t width = 0;
  int64_t height = 0;
  uint32_t bits = 0;
  uint32_t compression = kRgb;
  if (infoBytes == kCoreHeaderBytes && size >= kFileHeaderBytes + kCoreHeaderBytes) {
    width = ReadLe16(info + 4);
    height = ReadLe16(info + 6);
    bits = ReadLe16(info + 10);
  } else if (infoBytes >= kInfoHeaderBytes && size >= kFileHeaderBytes + kInfoHeaderBytes) {
    width = static_cast<int32_t>(ReadLe32(info + 4));
    height = static_cast<int32_t>(ReadLe32(info + 8));  // negative: rows stored top down
    bits = ReadLe16(info + 14);
    compression = ReadLe32(info + 16);
  } else {
    return false;
  }
  if (height < 0) height = -height;
  if (width <= 0 || height == 0 || width > kLargestBitmapSide || height > kLargestBitmapSide ||
      !KnownDepth(bits)) {
    return false;
  }
  // Runs let a file of a few bytes claim a whole picture; the game's pictures are never coded so.
  if (compression != kRgb && compression != kBitFields) return false;
  // The pixels start at the header's offset, and never before the headers end.
  const int64_t headersEnd = static_cast<int64_t>(kFileHeaderBytes) + infoBytes;
  const int64_t pixelStart = pixelOffset > headersEnd ? pixelOffset : headersEnd;
  const int64_t rowBytes = (width * bits + 31) / 32 * 4;
  return pixelStart + rowBytes * height <= static_cast<int64_t>(size);
}
