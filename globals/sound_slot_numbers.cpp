#include "globals/sound_slot_numbers.h"

int32_t HitSound = -1;
int32_t HitSound2 = -1;
int32_t FlySound = -1;
int32_t WaspBuzz = -1;
int32_t FlyBuzz[50];
int32_t AuSound = -1;
int32_t GoSound = -1;
