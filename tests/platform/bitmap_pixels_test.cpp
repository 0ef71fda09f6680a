// The game's own BMP reader, which zimbrel-verify reads the swatter's pixels with: each depth it
// takes, in either row order and with padded rows, gives the colours drawn as the display holds
// them; a depth it does not take is refused, though its headers still give the size.
#include <gtest/gtest.h>

#include "platform/files/bitmap_pixels.h"
#include "tests/support/bmp_bytes.h"
#include "tests/support/file_bytes.h"
#include "tests/support/run_folder.h"

namespace {

// Five wide, so that a 24-bit row has a padding byte; every pixel its own colour.
constexpr int kWidth = 5;
constexpr int kHeight = 3;
uint32_t ColourAt(int x, int y) {
  return 0x102030u * static_cast<uint32_t>(x + 1) + 0x0B0000u * static_cast<uint32_t>(y);
}

TEST(BitmapPixels, GivesEachPixelAsTheDisplayHoldsIt) {
  for (const int bits : {24, 32}) {
    for (const bool topDown : {false, true}) {
      const Bytes bytes = MakeBmp(kWidth, kHeight, bits, topDown, ColourAt);
      BitmapPicture picture;
      ASSERT_TRUE(DecodeBitmapWords(bytes.data(), bytes.size(), &picture)) << bits << " bits";
      ASSERT_EQ(picture.width, kWidth);
      ASSERT_EQ(picture.height, kHeight);
      for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
          EXPECT_EQ(picture.words[static_cast<size_t>(y * kWidth + x)], ColourAt(x, y))
              << bits << " bits, top down " << topDown << ", at " << x << "," << y;
        }
      }
    }
  }
}

TEST(BitmapPixels, RefusesADepthItDoesNotDecodeButReadsItsSize) {
  EnterRunFolder();
  const Bytes paletted = MakeBmp(kWidth, kHeight, 8, false, ColourAt);
  BitmapPicture picture;
  EXPECT_FALSE(DecodeBitmapWords(paletted.data(), paletted.size(), &picture));
  WriteBytes("paletted.bmp", paletted);
  ASSERT_TRUE(ReadBitmapSize("paletted.bmp", &picture));
  EXPECT_EQ(picture.width, kWidth);
  EXPECT_EQ(picture.height, kHeight);
  // A file shorter than the rows its headers claim is no picture, read whole or not.
  WriteBytes("short.bmp", Bytes(paletted.begin(), paletted.end() - 1));
  EXPECT_FALSE(ReadBitmapSize("short.bmp", &picture));
}

}  // namespace
