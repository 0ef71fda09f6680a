// Bringing the whole game up before the first frame, and down after the last.
#pragma once

#include "globals/sound_slot_numbers.h"

int StartUp();
int ShutDown();
