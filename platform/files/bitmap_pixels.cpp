#include "platform/files/bitmap_pixels.h"

#include <sys/stat.h>
#include <unistd.h>

#include "platform/files/bitmap_header.h"
#include "platform/files/little_endian.h"
#include "platform/files/regular_file.h"

namespace {

constexpr size_t kFileHeaderBytes = 14;
constexpr size_t kHeadersRead = kFileHeaderBytes + 40;

// A core header's sides are 16 bits, a Windows one's 32 (a negative height: rows top down).
void ReadSides(const unsigned char* bytes, int* width, int* height, bool* topDown) {
  const unsigned char* info = bytes + kFileHeaderBytes;
  int64_t tall = 0;
  if (ReadLe32(info) == 12) {
    *width = static_cast<int>(ReadLe16(info + 4));
    tall = ReadLe16(info + 6);
  } else {
    *width = static_cast<int>(static_cast<int32_t>(ReadLe32(info + 4)));
    tall = static_cast<int32_t>(ReadLe32(info + 8));
  }
  *topDown = tall < 0;
  *height = static_cast<int>(tall < 0 ? -tall : tall);
}

}  // namespace

bool ReadBitmapSize(const std::string& path, BitmapPicture* picture) {
  const int fd = OpenRegularFile(path.c_str());
  if (fd < 0) return false;
  unsigned char head[kHeadersRead] = {};
  struct stat status {};
  const bool read = fstat(fd, &status) == 0 && pread(fd, head, sizeof head, 0) > 0;
  close(fd);
  // The header check reads no further than the headers; the length is the file's own.
  const size_t length = static_cast<size_t>(status.st_size);
  if (!read || length < kHeadersRead || !BitmapHeaderFits(head, length)) return false;
  bool topDown = false;
  ReadSides(head, &picture->width, &picture->height, &topDown);
  picture->words.clear();
  return true;
}

bool DecodeBitmapWords(const unsigned char* bytes, size_t size, BitmapPicture* picture) {
  if (size < kHeadersRead || !BitmapHeaderFits(bytes, size)) return false;
  const unsigned char* info = bytes + kFileHeaderBytes;
  const uint32_t infoBytes = ReadLe32(info);
  if (infoBytes < 40 || ReadLe32(info + 16) != 0) return false;
  const uint32_t bits = ReadLe16(info + 14);
  if (bits != 24 && bits != 32) return false;
  bool topDown = false;
  ReadSides(bytes, &picture->width, &picture->height, &topDown);
  const size_t width = static_cast<size_t>(picture->width);
  const size_t height = static_cast<size_t>(picture->height);
  const size_t headersEnd = kFileHeaderBytes + infoBytes;
  const size_t offset = ReadLe32(bytes + 10);
  const size_t first = offset > headersEnd ? offset : headersEnd;
  const size_t step = bits / 8;
  const size_t rowBytes = (width * bits + 31) / 32 * 4;
  picture->words.resize(width * height);
  for (size_t row = 0; row < height; ++row) {
    const unsigned char* in = bytes + first + rowBytes * (topDown ? row : height - 1 - row);
    uint32_t* out = picture->words.data() + row * width;
    // Blue, green, red in the file; a 32-bit pixel's fourth byte is not colour.
    for (size_t x = 0; x < width; ++x, in += step) {
      out[x] = uint32_t{in[0]} | uint32_t{in[1]} << 8 | uint32_t{in[2]} << 16;
    }
  }
  return true;
}
