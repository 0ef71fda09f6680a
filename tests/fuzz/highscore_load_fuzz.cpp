// Feeds arbitrary files to the game as its Highscore.dat: the loader must give back every byte
// the file holds (and the default table's for the bytes it lacks), and the highscore screen
// then enters a game into that table and draws it.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "graphics/display.h"
#include "graphics/game_font.h"
#include "scores/highscore_file.h"
#include "scores/highscore_screen.h"
#include "scores/highscore_table.h"
#include "shell/screens.h"
#include "tests/fuzz/fuzz_run_folder.h"

namespace {

// The table loaded must hold the file's bytes; a short file leaves the rest as it was.
void CheckLoadedTable(const uint8_t* data, size_t size) {
  uint8_t expected[kHighscoreFileBytes];
  EncodeHighscores(expected);
  std::memcpy(expected, data, std::min<size_t>(size, kHighscoreFileBytes));
  LoadHighscores();
  uint8_t loaded[kHighscoreFileBytes];
  EncodeHighscores(loaded);
  if (std::memcmp(expected, loaded, sizeof loaded) != 0) {
    std::fprintf(stderr, "the loaded table differs from the file's bytes\n");
    std::abort();
  }
}

// A game with a middling score arrives at the highscore screen, as after play.
void ShowHighscoreScreen() {
  CurrentGameEntry = HighscoreEntry{{'F', 'U', 'Z', 0}, 12345, {1, 2, 3, 4, 5, 6, 7, 8}};
  CurrentScreen = ScreenHighscores;
  ScreenFirstFrame = true;
  RunHighscoreFrame();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const InFuzzRunFolder inRunFolder;
  static const bool ready = [] {
    OpenHeadlessGameWindow();
    CreateGameFont();
    return OpenDisplay() == nullptr;
  }();
  if (!ready || !WriteFuzzFile("Highscore.dat", data, size)) return 0;

  FillDefaultHighscores();
  CheckLoadedTable(data, size);
  ShowHighscoreScreen();
  return 0;
}
