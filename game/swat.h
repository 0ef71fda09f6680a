// The swatter against the flies, the wasp and the boss, and the score of a swat when it ends.
#pragma once

// Steps of the play frame, in the order the frame runs them.
void BeginSwat();
void SwatFlies();
void SwatWasp();
void SwatBoss();
void ScoreSwat();
