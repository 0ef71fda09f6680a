#include "tests/support/bmp_bytes.h"

#include <map>

#include "platform/files/little_endian.h"

std::vector<uint8_t> MakeBmp(int width, int height, int bits, bool topDown,
                             const PixelFunction& colorAt) {
  std::vector<uint32_t> palette;
  std::map<uint32_t, uint32_t> paletteIndex;
  if (bits <= 8) {
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const uint32_t color = colorAt(x, y);
        if (!paletteIndex.count(color)) {
          paletteIndex[color] = static_cast<uint32_t>(palette.size());
          palette.push_back(color);
        }
      }
    }
    palette.resize(size_t{1} << bits, 0);
  }
  const int rowBytes = ((width * bits + 31) / 32) * 4;
  const uint32_t offset = 14 + 40 + static_cast<uint32_t>(palette.size()) * 4;
  const uint32_t fileSize = offset + static_cast<uint32_t>(rowBytes * height);
  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  AppendLe32(out, fileSize);
  AppendLe32(out, 0);
  AppendLe32(out, offset);
  AppendLe32(out, 40);
  AppendLe32(out, static_cast<uint32_t>(width));
  AppendLe32(out, static_cast<uint32_t>(topDown ? -height : height));
  AppendLe16(out, 1);
  AppendLe16(out, static_cast<uint32_t>(bits));
  AppendLe32(out, 0);  // BI_RGB
  AppendLe32(out, static_cast<uint32_t>(rowBytes * height));
  AppendLe32(out, 2835);
  AppendLe32(out, 2835);
  AppendLe32(out, bits <= 8 ? static_cast<uint32_t>(palette.size()) : 0);
  AppendLe32(out, 0);
  for (uint32_t color : palette) AppendLe32(out, color);  // B, G, R, 0 in memory
  for (int row = 0; row < height; ++row) {
    const int y = topDown ? row : height - 1 - row;
    std::vector<uint8_t> line(static_cast<size_t>(rowBytes), 0);
    for (int x = 0; x < width; ++x) {
      const uint32_t color = colorAt(x, y);
      if (bits <= 8) {
        const uint32_t index = paletteIndex[color];
        const int bit = x * bits;
        line[bit / 8] |= static_cast<uint8_t>(index << (8 - bits - bit % 8));
      } else if (bits == 16) {
        const uint32_t value = ((color >> 19) & 0x1F) << 10 | ((color >> 11) & 0x1F) << 5 |
                               ((color >> 3) & 0x1F);
        WriteLittleEndian(&line[x * 2], value, 2);
      } else {
        WriteLittleEndian(&line[x * (bits / 8)], color, 3);
      }
    }
    out.insert(out.end(), line.begin(), line.end());
  }
  return out;
}
