// The five screens of the game and the hand-over between them.
#pragma once

#include <cstdint>
#include <string>

#include "globals/current_screen.h"
#include "platform/seams/play_under_way.h"

// The row of the credits' downward sweep: 55 on entry, one more each frame up to 450.
extern int32_t CreditsSweepRow;

// One frame of each screen. The title's is 0 when it passes straight on to the highscores.
int RunTitleFrame();
// The title as its first frame leaves it, with `carried` in place, and its Play button clicked;
// or why no Play click can have carried that (the seam's beginPlay, for a replay of one game).
std::string BeginPlayAtTitle(const CarriedState& carried);
void RunCreditsFrame();
void RunExitFrame();
void RunPlayFrame();
