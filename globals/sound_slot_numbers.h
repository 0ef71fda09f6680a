// The sound slots start-up loads the game's sounds into, for the play rules and the cursor
// to play them by; -1 where a sound failed to load or to duplicate.
#pragma once

#include <cstdint>

extern int32_t HitSound;
extern int32_t HitSound2;
extern int32_t FlySound;
extern int32_t WaspBuzz;
extern int32_t FlyBuzz[50];
extern int32_t AuSound;
extern int32_t GoSound;
