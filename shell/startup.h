// Bringing the whole game up before the first frame, and down after the last.
#pragma once

#include <cstdint>

// Sound slots of the game's sounds; -1 where a sound failed to load or to duplicate.
extern int32_t HitSound;
extern int32_t HitSound2;
extern int32_t FlySound;
extern int32_t WaspBuzz;
extern int32_t FlyBuzz[50];
extern int32_t AuSound;
extern int32_t GoSound;

int StartUp();
int ShutDown();
