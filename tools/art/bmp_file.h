#pragma once
// Windows bitmap files, 24 bits per pixel, the format the game loads its pictures from.
#include <optional>
#include <string>

#include "tools/art/image.h"

bool WriteBmp24(const std::string& path, const Image& image);
std::optional<Image> ReadBmp24(const std::string& path);
