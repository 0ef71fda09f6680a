// The five screens of the game and the hand-over between them.
#pragma once

#include <cstdint>

#include "globals/current_screen.h"

// The row of the credits' downward sweep: 55 on entry, one more each frame up to 450.
extern int32_t CreditsSweepRow;

// One frame of each screen. The title's is 0 when it passes straight on to the highscores.
int RunTitleFrame();
void RunCreditsFrame();
void RunExitFrame();
void RunPlayFrame();
