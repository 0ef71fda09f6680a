// The hand-over between the five screens: which one the next frame runs, and whether it must
// do its entry work first. The play rules and the highscore screen set them to leave.
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
