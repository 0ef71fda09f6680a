// The game's random numbers: one fixed generator that is never reseeded, so that a fresh run
// of the program always plays the same (the same flies in the same places in stage 1).
#pragma once

#include <cstdint>

// The next number, 0 to 32767: the state becomes state x 22695477 + 1, and the result is
// bits 16 to 30 of it. The state starts at 1.
int32_t GameRand();
// Draws and discards the first number; done once when the program starts, before any frame.
void GameRandStart();
// How many numbers have been drawn since the program started, the discarded one included.
uint64_t GameRandCalls();
// The generator as it stands after `calls` numbers from the program's start: where a replay of
// one game finds it at that game's Play click.
void GameRandSkipTo(uint64_t calls);
