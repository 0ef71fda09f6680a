// The game's own reading of BMP files where no SDL is loaded: a picture's size from its
// headers alone, and the pixels of an uncompressed 24- or 32-bit picture as the display holds
// them (32-bit words 0x00RRGGBB, rows from the top).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct BitmapPicture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> words;  // empty when only the size was read
};

// The size the headers of the file at `path` give, read from its first bytes and checked
// against the file's length as BitmapHeaderFits does. False for a file that is not one.
bool ReadBitmapSize(const std::string& path, BitmapPicture* picture);
// The whole picture from its bytes. False when the headers do not fit, or its depth is not
// 24 or 32 bits uncompressed.
bool DecodeBitmapWords(const unsigned char* bytes, size_t size, BitmapPicture* picture);
