#include "tools/capture/frame_png.h"

#include <png.h>

#include <cstdint>
#include <vector>

bool WriteFramePng(const CapturedFrame& frame, const std::string& path) {
  if (frame.width <= 0 || frame.height <= 0) return false;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(frame.width);
  image.height = static_cast<png_uint_32>(frame.height);
  image.format = PNG_FORMAT_BGRA;  // 0x00RRGGBB words are B, G, R, X in memory
  std::vector<uint32_t> opaque(frame.pixels);
  for (uint32_t& pixel : opaque) pixel |= 0xFF000000u;
  return png_image_write_to_file(&image, path.c_str(), 0, opaque.data(), 0, nullptr) != 0;
}
