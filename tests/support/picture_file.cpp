#include "tests/support/picture_file.h"

#include "graphics/bitmap_surface.h"
#include "graphics/display.h"
#include "graphics/pixels.h"

PictureFile::PictureFile(const char* path)
    : surface_(LoadBitmapSurface(Display.directDraw, path, 0, 0)) {
  if (surface_ == nullptr) return;
  DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof desc;
  surface_->GetSurfaceDesc(&desc);
  width_ = static_cast<int>(desc.dwWidth);
  height_ = static_cast<int>(desc.dwHeight);
}

PictureFile::~PictureFile() {
  if (surface_) surface_->Release();
}

uint32_t PictureFile::At(int x, int y) const {
  if (surface_ == nullptr || LockPixels(surface_) == nullptr) return 0;
  const uint32_t pixel = ReadPixel(LockedPixelView(), x, y) & 0xFFFFFF;
  UnlockPixels(surface_);
  return pixel;
}

double PictureFile::ShownIn(const CapturedFrame& frame, int x, int y) const {
  int visible = 0;
  int same = 0;
  for (int v = 0; v < height_; ++v) {
    for (int u = 0; u < width_; ++u) {
      const uint32_t pixel = At(u, v);
      if (pixel == 0 || x + u >= frame.width || y + v >= frame.height) continue;
      ++visible;
      same += frame.At(x + u, y + v) == pixel;
    }
  }
  return visible == 0 ? 0.0 : static_cast<double>(same) / visible;
}

int LeftmostOfColour(const CapturedFrame& frame, int top, uint32_t colour, int fromX, int toX) {
  for (int x = fromX; x < toX; ++x) {
    for (int y = top; y < top + 30 && y < frame.height; ++y) {
      if (frame.At(x, y) == colour) return x;
    }
  }
  return -1;
}
