// The whole game brought up headless for the benchmarks, once per process: the window, the
// display, the input devices, the sound, the pictures and the highscores, as at start-up,
// in a scratch folder that sees the build's gfx/ and snd/.
#pragma once

// Starts the game the first time it is called; later calls do nothing. False when the game
// could not start (its reason is on stderr).
bool OpenBenchGame();

// Schedules a left click for the game's next mouse read, so that a wait for a click (a stage's
// intro) ends there.
void ClickAtNextMouseRead();
