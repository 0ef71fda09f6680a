#include "tests/support/png_reading.h"

#include <png.h>

std::optional<Image> ReadPng(const std::string& path) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&png, path.c_str()) == 0) return std::nullopt;
  png.format = PNG_FORMAT_RGB;
  Image image(static_cast<int>(png.width), static_cast<int>(png.height));
  if (png_image_finish_read(&png, nullptr, image.pixels.data(), 0, nullptr) == 0) {
    png_image_free(&png);
    return std::nullopt;
  }
  return image;
}
