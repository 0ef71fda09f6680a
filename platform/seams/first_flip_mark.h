// For measuring start-up from outside: with ZIMBREL_FIRST_FLIP_FILE set, the wall-clock time
// of the first presented flip (nanoseconds since the epoch, as `date +%s%N` prints them) is
// written to that file, once. Without it, nothing happens.
#pragma once

// Called when the presenter opens; watches for the first flip if the variable is set.
void ArmFirstFlipMark();
