// The end of a stage: time out, every fly swatted, or the boss beaten.
#pragma once

#include <cstdint>

// Called last in every play frame with the number of the stage's flies that are not alive.
void CheckStageEnd(int32_t deadCount);
