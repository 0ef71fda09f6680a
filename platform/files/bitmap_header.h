// A look at a BMP file's headers before SDL sees the file: SDL allocates the picture a header
// claims before it reads a pixel, so a file of a few bytes could ask for gigabytes.
#pragma once

#include <cstddef>

// The game's pictures are at most 640 x 480; anything wider or taller than this is refused.
constexpr int kLargestBitmapSide = 4096;
// No BMP file within that size is larger: the headers, a full palette and 32-bit pixels.
constexpr size_t kLargestBitmapFile =
    size_t{kLargestBitmapSide} * kLargestBitmapSide * 4 + 64 * 1024;

// Whether the bytes start with headers that SDL may be handed: a file header and a core
// (12-byte) or Windows (40 bytes or more) information header, each side within
// kLargestBitmapSide, a known depth, pixels not compressed in runs, and every row the header
// claims within the bytes.
bool BitmapHeaderFits(const unsigned char* bytes, size_t size);
