// The game's answers to what those who follow a play may ask (platform/seams/play_under_way.h).
#pragma once

#include <string>

#include "platform/seams/play_under_way.h"

// Called once as the program starts, with the title's way into play (shell/), which puts the
// carried state in place with PutCarriedIn.
void AnswerPlayQuestions(std::string (*beginPlay)(const CarriedState& carried));

// Sets the records a game carries in from before Play, or says which value no game can have
// left (the records are then as they were).
std::string PutCarriedIn(const CarriedState& carried);
