// The pictures by image number: 0 the current background, 1 to 33 the sprites, 34 empty.
#pragma once

#include "platform/win32/ddraw.h"

constexpr int kImageSlotCount = 35;
extern IDirectDrawSurface7* ImageSlots[kImageSlotCount];

void ReleaseImageSlot(int number);
// Loads a sprite with black as its colour key; a picture that cannot be read leaves it empty.
void LoadImageSlot(int number, const char* path);
// Replaces the background, number 0, with a picture without colour key (or leaves it empty).
void LoadBackground(const char* path);
