#include "platform/sdl/waits.h"

#include <SDL.h>

#include <chrono>
#include <thread>

namespace {

Uint64 lastFlipCounter = 0;  // real time of the previous flip

}  // namespace

// A quarter of a millisecond: the busy wait takes a sliver of a core and still ends within a
// fraction of a millisecond of its time.
void RestWhilePolling() { std::this_thread::sleep_for(std::chrono::microseconds(250)); }

void RestBetweenReads() { SDL_Delay(1); }

// A desktop's start blocks nothing but its own window, which shows nothing until the first flip.
void RestWhileStarting() {}

// Slept to the microsecond rather than spun, with or without vsync: a sleep may end late,
// never early, and the loop checks again.
void PaceRealFlip() {
  const Uint64 frequency = SDL_GetPerformanceFrequency();
  const Uint64 interval = static_cast<Uint64>(static_cast<double>(frequency) / 60.0);
  Uint64 now = SDL_GetPerformanceCounter();
  while (lastFlipCounter != 0 && now - lastFlipCounter < interval) {
    const Uint64 remaining = interval - (now - lastFlipCounter);
    std::this_thread::sleep_for(std::chrono::microseconds(remaining * 1000000 / frequency + 1));
    now = SDL_GetPerformanceCounter();
  }
  lastFlipCounter = SDL_GetPerformanceCounter();
}
