// The five screens of the game and the hand-over between them.
#pragma once

#include <cstdint>

enum Screen : int32_t {
  ScreenExit = 0,
  ScreenHighscores = 1,
  ScreenCredits = 2,
  ScreenPlay = 3,
  ScreenTitle = 4,
};

// The screen the next frame runs; a value outside 0 to 4 makes a frame only read the input.
extern int32_t CurrentScreen;
// Set with a change of screen when the new screen must do its entry work; it clears it then.
extern bool ScreenFirstFrame;
// The row of the credits' downward sweep: 55 on entry, one more each frame up to 450.
extern int32_t CreditsSweepRow;

// One frame of each screen. The title's is 0 when it passes straight on to the highscores.
int RunTitleFrame();
void RunCreditsFrame();
void RunExitFrame();
void RunPlayFrame();
