#include "game/blood_spots.h"

#include "game/random.h"
#include "graphics/cursor_images.h"
#include "graphics/pixels.h"
#include "input/mouse_cursor.h"

namespace {

constexpr int kSpots = 100;

// The picture locked and seen in its own pixel layout; no pixels when the lock was refused.
PixelView LockSwatter(IDirectDrawSurface7* picture) {
  if (LockPixels(picture) == nullptr) return PixelView{};
  return LockedPixelView();
}

// Pure red of a random intensity, on a pixel of the swatter itself (black is transparent and
// stays so). The spots reach column 64 and row 135; a position outside the picture is skipped.
void PaintSpot(const PixelView& picture, int u, int v) {
  if (u < 0 || u > 64 || v < 0 || v > 135 || !PixelInside(picture, u, v)) return;
  if (ReadPixel(picture, u, v) == 0) return;
  const uint32_t red = static_cast<uint32_t>(GameRand() % 156 + 100);
  WritePixel(picture, u, v, red << 16);
}

}  // namespace

void PaintBloodSpots(const FlyEntry& fly) {
  IDirectDrawSurface7* resting = CursorImages.images[0];
  IDirectDrawSurface7* swinging = CursorImages.images[1];
  const PixelView restingPixels = LockSwatter(resting);
  const PixelView swingingPixels = LockSwatter(swinging);
  for (int spot = 0; spot < kSpots; ++spot) {
    int u = GameRand() % 32 + fly.x - Cursor.x - 6;
    int v = GameRand() % 32 + fly.y - Cursor.y - 16;
    PaintSpot(restingPixels, u, v);
    u += GameRand() % 3 - 1;
    v += GameRand() % 3 - 1;
    PaintSpot(swingingPixels, u, v);
  }
  if (swingingPixels.first != nullptr) UnlockPixels(swinging);
  if (restingPixels.first != nullptr) UnlockPixels(resting);
}
