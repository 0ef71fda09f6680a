// Where to hold the swatter: the point that puts the most targets in its hit box, near where
// it is now.
#pragma once

#include <cstdint>

struct AimPoint {
  int32_t x = 0;  // the swatter's corner
  int32_t y = 0;
  int targets = 0;  // flies (and the wasp) its hit box holds there
};

// The swatter's corner can go from (0, 0) to (575, 402).
AimPoint ClampAim(AimPoint aim);
// How many live targets (flies of the stage and the wasp) the hit box holds with the swatter's
// corner at (x, y).
int TargetsAt(int32_t x, int32_t y);
// The best aim over the live targets, preferring more targets, then the wasp, then nearness to
// (fromX, fromY). None (targets 0) when the field is empty.
AimPoint BestAim(int32_t fromX, int32_t fromY);
