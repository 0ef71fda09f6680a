// Synthesises the game's sounds into <snd folder>/*.WAV. The swat is loud; the buzz is quiet
// because up to fifty copies of it play at once.
#include <cstdio>
#include <string>

#include "assets/sound/sounds.h"
#include "tools/sound/wav_file.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <snd folder>\n", argv[0]);
    return 2;
  }
  struct Output {
    const char* file;
    Signal (*make)();
    double peak;
  };
  const Output outputs[] = {
      {"Hit.WAV", MakeSwatSlap, 0.95},
      {"Fly.WAV", MakeFlyBuzz, 0.22},
      {"au.WAV", MakeBossCry, 0.9},
      {"go.WAV", MakeCreamSplat, 0.7},
  };
  for (const Output& o : outputs) {
    const std::string path = std::string(argv[1]) + "/" + o.file;
    if (!WriteWav16Mono(path, Normalise(o.make(), o.peak))) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
