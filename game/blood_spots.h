// A killed fly's blood, painted into both swatter pictures where the fly lay under them.
#pragma once

#include "game/play_state.h"

void PaintBloodSpots(const FlyEntry& fly);
