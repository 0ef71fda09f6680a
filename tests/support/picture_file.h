// A picture file as the display holds it, to compare with what the game showed.
#pragma once

#include <cstdint>

#include "graphics/bitmap_surface.h"
#include "graphics/display.h"
#include "graphics/pixels.h"
#include "platform/seams/headless.h"

class PictureFile {
 public:
  explicit PictureFile(const char* path)
      : surface_(LoadBitmapSurface(Display.directDraw, path, 0, 0)) {
    if (surface_ == nullptr) return;
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    surface_->GetSurfaceDesc(&desc);
    width_ = static_cast<int>(desc.dwWidth);
    height_ = static_cast<int>(desc.dwHeight);
  }
  ~PictureFile() {
    if (surface_) surface_->Release();
  }
  PictureFile(const PictureFile&) = delete;
  PictureFile& operator=(const PictureFile&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  // The colour at (x, y) as 0x00RRGGBB; 0 outside the picture.
  uint32_t At(int x, int y) const {
    if (surface_ == nullptr || LockPixels(surface_) == nullptr) return 0;
    const uint32_t pixel = ReadPixel(LockedPixelView(), x, y) & 0xFFFFFF;
    UnlockPixels(surface_);
    return pixel;
  }
  // The share of the picture's non-black pixels that the frame shows unchanged with the
  // picture's corner at (x, y): 1 where the sprite is drawn there whole.
  double ShownIn(const CapturedFrame& frame, int x, int y) const {
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

 private:
  IDirectDrawSurface7* surface_;
  int width_ = 0;
  int height_ = 0;
};

// The leftmost column in which the frame has that colour within the rows [top, top + 30),
// or -1: where a text of that colour starts.
inline int LeftmostOfColour(const CapturedFrame& frame, int top, uint32_t colour, int fromX = 0,
                            int toX = 640) {
  for (int x = fromX; x < toX; ++x) {
    for (int y = top; y < top + 30 && y < frame.height; ++y) {
      if (frame.At(x, y) == colour) return x;
    }
  }
  return -1;
}
