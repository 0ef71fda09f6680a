// The swatter against the flies, the wasp and the boss, and the score of a swat when it ends.
#pragma once

#include <cstdint>

// Steps of the play frame, in the order the frame runs them.
void BeginSwat();
void SwatFlies();
void SwatWasp();
void SwatBoss();
void ScoreSwat();

// The live flies and the wasp that the hit box holds with the swatter moved by these mouse
// counts from where it stands: what a swat begun with that motion would meet.
int TargetsUnderSwatterMovedBy(int32_t countsX, int32_t countsY);
