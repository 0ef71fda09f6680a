// The game's answers to what those who follow a play may ask (platform/seams/play_under_way.h).
#pragma once

// Called once as the program starts.
void AnswerPlayQuestions();
