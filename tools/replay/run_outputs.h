// What a run of the game leaves behind, flip by flip: the state line of every flip, frames as
// PNG pictures, and the mixed sound as a WAV file.
#pragma once

#include <cstdint>
#include <string>

struct RunOutputs {
  std::string linesPath;   // empty: no state lines
  std::string pngFolder;   // empty: no frames
  uint64_t pngEvery = 1;   // the frames of flips N, 2N, 3N, ...
  std::string audioPath;   // empty: no sound
};

// Opens every output the run asks for and starts taking them at each flip. False, with a
// message naming the file, when one cannot be written; then nothing has been started.
bool RunOutputsStart(const RunOutputs& outputs, std::string* error);

// Completes the outputs after the run. False, with a message, when one could not be written.
bool RunOutputsFinish(std::string* error);
