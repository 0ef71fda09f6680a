#include "input/draw_cursor.h"

#include "globals/sound_slot_numbers.h"
#include "graphics/cursor_images.h"
#include "graphics/display.h"
#include "input/mouse_cursor.h"
#include "sound/sound_slots.h"

namespace {

constexpr int32_t kSwatterWidth = 64;
constexpr int32_t kSwatterHeight = 167;
constexpr int32_t kScreenHeight = 480;

IDirectDrawSurface7* CursorPicture() {
  if (Cursor.animated) {
    Cursor.frame += 1;
    if (Cursor.frame > 8) Cursor.frame = 0;
    return CursorImages.images[Cursor.frame / 3];
  }
  if (!Cursor.swatter) return CursorImages.images[0];
  return CursorImages.images[Cursor.swatActive ? 1 : 0];
}

}  // namespace

void DrawCursor() {
  RECT source;
  source.left = 0;
  source.top = 0;
  source.right = CursorImages.width;
  source.bottom = CursorImages.height;
  // The swatter is drawn whole, cut only at the screen's lower edge.
  if (CursorImages.width == kSwatterWidth) {
    source.bottom = kSwatterHeight;
    if (Cursor.y > kScreenHeight - kSwatterHeight) source.bottom = kScreenHeight - Cursor.y;
  }
  IDirectDrawSurface7* picture = CursorPicture();
  if (Display.backBuffer != nullptr) {
    Display.backBuffer->BltFast(static_cast<DWORD>(Cursor.x), static_cast<DWORD>(Cursor.y), picture,
                                &source, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT);
  }
  Cursor.soundToggle = !Cursor.soundToggle;
  if (Cursor.swatter && Cursor.swatTimer == 10) {
    const int32_t slot = Cursor.soundToggle ? HitSound : HitSound2;
    SoundSetPan(slot, Cursor.x * 10 - 3000);
    SoundPlay(slot);
  }
}
