// The flip observer: the one place to look at the whole game as the player has just seen it.
// The presenter reports every flip here once it has been presented (and paced), before the
// game goes on; the state line, replays and measurements watch from here.
#pragma once

#include <cstdint>

// Flips presented since the program started.
uint64_t PresentedFlipCount();
// A replay of one game counts on from where that game's session stood at its start, before the
// run's first flip.
void CountFlipsFrom(uint64_t flips);

// Observers are told in the order they were added, and stay for the life of the process.
using FlipObserver = void (*)();
void AddFlipObserver(FlipObserver observer);

// Called by the presenter after each flip.
void NotifyFlipPresented();
