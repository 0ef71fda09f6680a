// The cursor pictures, the size of the one loaded last and the bounds that keep the cursor on
// the screen.
#pragma once

#include <cstdint>

#include "platform/win32/ddraw.h"

struct CursorImagesRecord {
  IDirectDrawSurface7* images[3] = {};
  int32_t width = 0;
  int32_t height = 0;  // a picture 167 high counts as 77: the swatter's handle may hang below
  int32_t limitX = 640;
  int32_t limitY = 480;
};
extern CursorImagesRecord CursorImages;

void LoadCursorImage(int index, const char* path);
void ReleaseCursorImage(int index);
