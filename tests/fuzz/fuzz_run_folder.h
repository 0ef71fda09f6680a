// What every game-facing fuzz target needs around the code it feeds: a scratch run folder of
// its own (the game reads gfx/, snd/ and Highscore.dat relative to its working folder), the
// input written there as the file the game reads, and a headless game window.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

// While one lives, the working folder is the run folder, made on first use with empty gfx/
// and snd/ and removed when the process ends. libFuzzer reads and writes its corpus between
// inputs, in the folder it was started in, which each one gives back.
class InFuzzRunFolder {
 public:
  InFuzzRunFolder();
  ~InFuzzRunFolder();
  InFuzzRunFolder(const InFuzzRunFolder&) = delete;
  InFuzzRunFolder& operator=(const InFuzzRunFolder&) = delete;

 private:
  std::filesystem::path started_;
};

// The input as the file at `path`, relative to the working folder. False when it cannot be
// written.
bool WriteFuzzFile(const char* path, const uint8_t* data, size_t size);

// The headless backend and the game's window, as the game makes them before its display.
void OpenHeadlessGameWindow();
