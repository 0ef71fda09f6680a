// Pictures made as BMP file bytes, pixel by pixel, for tests of the game's picture reading.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// Colours of test pictures as 0x00RRGGBB.
using PixelFunction = std::function<uint32_t(int x, int y)>;

// A BMP file (BITMAPINFOHEADER, BI_RGB) of 1, 4, 8, 16 (5-5-5), 24 or 32 bits per pixel,
// bottom-up or top-down. Palette depths take the picture's colours as their palette.
std::vector<uint8_t> MakeBmp(int width, int height, int bits, bool topDown,
                             const PixelFunction& colorAt);
