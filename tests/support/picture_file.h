// A picture file as the display holds it, to compare with what the game showed.
#pragma once

#include <cstdint>

#include "platform/seams/headless.h"
#include "platform/win32/ddraw.h"

class PictureFile {
 public:
  explicit PictureFile(const char* path);
  ~PictureFile();
  PictureFile(const PictureFile&) = delete;
  PictureFile& operator=(const PictureFile&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  // The colour at (x, y) as 0x00RRGGBB; 0 outside the picture.
  uint32_t At(int x, int y) const;
  // The share of the picture's non-black pixels that the frame shows unchanged with the
  // picture's corner at (x, y): 1 where the sprite is drawn there whole.
  double ShownIn(const CapturedFrame& frame, int x, int y) const;

 private:
  IDirectDrawSurface7* surface_;
  int width_ = 0;
  int height_ = 0;
};

// The leftmost column in which the frame has that colour within the rows [top, top + 30),
// or -1: where a text of that colour starts.
int LeftmostOfColour(const CapturedFrame& frame, int top, uint32_t colour, int fromX = 0,
                     int toX = 640);
