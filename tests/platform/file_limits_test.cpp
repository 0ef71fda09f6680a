// The file checks' limits at their exact values: the largest picture side a header may claim,
// and the largest file a bounded read takes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "platform/files/bitmap_header.h"
#include "platform/files/little_endian.h"
#include "platform/files/regular_file.h"

namespace {

// A 32-bit uncompressed bitmap of that size, its pixels all there (zero).
std::vector<uint8_t> Bitmap(uint32_t width, uint32_t height) {
  std::vector<uint8_t> bytes(54, 0);
  bytes[0] = 'B';
  bytes[1] = 'M';
  WriteLe32(&bytes[10], 54);
  WriteLe32(&bytes[14], 40);
  WriteLe32(&bytes[18], width);
  WriteLe32(&bytes[22], height);
  bytes[26] = 1;
  bytes[28] = 32;
  bytes.resize(54 + size_t{width} * height * 4, 0);
  WriteLe32(&bytes[2], static_cast<uint32_t>(bytes.size()));
  return bytes;
}

TEST(FileLimits, APictureMayClaimUpTo4096PixelsASideAndNoMore) {
  for (const auto& [width, height, fits] :
       {std::tuple{4096u, 1u, true}, {4097u, 1u, false}, {1u, 4096u, true}, {1u, 4097u, false}}) {
    const std::vector<uint8_t> bytes = Bitmap(width, height);
    EXPECT_EQ(BitmapHeaderFits(bytes.data(), bytes.size()), fits) << width << " x " << height;
  }
}

TEST(FileLimits, ABoundedReadTakesAFileOfExactlyItsBoundAndRefusesOneByteMore) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("zimbrel-limit-" + std::to_string(::getpid()));
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fwrite("0123456789", 1, 10, file);
  std::fclose(file);
  std::vector<unsigned char> bytes;
  EXPECT_TRUE(ReadRegularFile(path.c_str(), 10, &bytes));
  EXPECT_EQ(bytes.size(), 10u);
  EXPECT_FALSE(ReadRegularFile(path.c_str(), 9, &bytes));
  std::filesystem::remove(path);
}

}  // namespace
