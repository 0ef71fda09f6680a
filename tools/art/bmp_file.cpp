#include "tools/art/bmp_file.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/files/little_endian.h"

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;

std::size_t RowStride(int width) { return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3}; }

}  // namespace

bool WriteBmp24(const std::string& path, const Image& image) {
  const std::size_t stride = RowStride(image.width);
  const std::size_t dataSize = stride * static_cast<std::size_t>(image.height);
  const std::size_t offset = kFileHeaderSize + kInfoHeaderSize;
  std::vector<std::uint8_t> out;
  out.reserve(offset + dataSize);
  out.push_back('B');
  out.push_back('M');
  AppendLe32(out, static_cast<std::uint32_t>(offset + dataSize));
  AppendLe32(out, 0);
  AppendLe32(out, static_cast<std::uint32_t>(offset));
  AppendLe32(out, kInfoHeaderSize);
  AppendLe32(out, static_cast<std::uint32_t>(image.width));
  AppendLe32(out, static_cast<std::uint32_t>(image.height));  // positive: rows stored bottom-up
  AppendLe16(out, 1);
  AppendLe16(out, 24);
  AppendLe32(out, 0);  // BI_RGB
  AppendLe32(out, static_cast<std::uint32_t>(dataSize));
  AppendLe32(out, 2835);  // 72 dpi
  AppendLe32(out, 2835);
  AppendLe32(out, 0);
  AppendLe32(out, 0);
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) {
      const Rgb8& p = image.at(x, y);
      out.push_back(p.b);
      out.push_back(p.g);
      out.push_back(p.r);
    }
    out.resize(out.size() + stride - static_cast<std::size_t>(image.width) * 3, 0);
  }
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  return static_cast<bool>(file);
}

std::optional<Image> ReadBmp24(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  const std::vector<std::uint8_t> in((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (in.size() < kFileHeaderSize + kInfoHeaderSize || in[0] != 'B' || in[1] != 'M') return std::nullopt;
  const std::uint32_t offset = ReadLe32(in.data() + 10);
  const auto width = static_cast<std::int32_t>(ReadLe32(in.data() + 18));
  const auto height = static_cast<std::int32_t>(ReadLe32(in.data() + 22));
  const std::uint32_t bitsAndPlanes = ReadLe32(in.data() + 26);
  if (bitsAndPlanes != (24u << 16 | 1u) || width <= 0 || height <= 0) return std::nullopt;
  const std::size_t stride = RowStride(width);
  if (in.size() < offset + stride * static_cast<std::size_t>(height)) return std::nullopt;
  Image image(width, height);
  for (int y = 0; y < height; ++y) {
    const std::size_t row = offset + stride * static_cast<std::size_t>(height - 1 - y);
    for (int x = 0; x < width; ++x) {
      const std::size_t at = row + static_cast<std::size_t>(x) * 3;
      image.at(x, y) = Rgb8{in[at + 2], in[at + 1], in[at]};
    }
  }
  return image;
}
