#include "tools/replay/soak_run.h"

#include <dirent.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "globals/current_screen.h"
#include "platform/seams/flip_observer.h"
#include "platform/seams/game_named.h"
#include "platform/seams/headless.h"
#include "platform/win32/dinput.h"
#include "replay/kept_games.h"
#include "scores/highscore_file.h"
#include "scores/highscore_table.h"
#include "tools/autoplay/scripted_player.h"

namespace {

// Between the first game and the last, memory may grow by what the allocator keeps of the
// pictures and sounds that every game loads again (it does not always hand a freed block
// back), which a full soak's 180 or so games kept to nothing. A megabyte is a 640 x 480
// picture leaked once, or 6 kB leaked in every game of a full soak. Descriptors may not grow
// at all: nothing the game does between two games leaves one open rightly.
constexpr long kRssToleranceKb = 1024;
constexpr int kFdTolerance = 0;

// AddressSanitizer holds freed blocks back for a while and finds leaks itself at exit: there
// resident memory says nothing about the game's, and is printed but not judged.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryJudged = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kMemoryJudged = false;
#else
constexpr bool kMemoryJudged = true;
#endif
#else
constexpr bool kMemoryJudged = true;
#endif

struct GameReading {
  int number = 0;
  int32_t score = 0;
  uint32_t gameMs = 0;  // virtual clock at the game's end
  long rssKb = 0;
  int fds = 0;
};

struct SoakState {
  uint32_t limitMs = 0;
  bool report = true;
  std::optional<uint32_t> startMs;  // the virtual clock at the first flip
  bool inGame = false;
  int32_t score = 0;
  // What the highscore screen drew last in this game, if it was shown.
  std::optional<std::array<HighscoreEntry, kHighscoreRows>> shown;
  std::optional<GameReading> first;
  GameReading last;
  std::string fault;
  int named = 0;
  int kept = 0;
};
SoakState soak;

long ResidentKb() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmRSS:")) return std::stol(line.substr(6));
  }
  return -1;
}

int OpenDescriptors() {
  DIR* folder = opendir("/proc/self/fd");
  if (folder == nullptr) return -1;
  int count = 0;
  while (const dirent* entry = readdir(folder)) {
    if (entry->d_name[0] != '.') ++count;
  }
  closedir(folder);
  return count - 1;  // not the one that reads the folder
}

// Each game a name of its own and a stage to give up after, so that the table changes from
// game to game and both ends of a game, the boss's fall and a surrender, come round.
ScriptedPlayerOptions OptionsForGame(int number) {
  static constexpr int kUntilStage[] = {2, 1, 10, 5, 10, 8};
  ScriptedPlayerOptions options;
  options.untilStage = kUntilStage[(number - 1) % std::size(kUntilStage)];
  options.lazyBoss = number % 4 == 0;
  options.name = {static_cast<char>('A' + (number - 1) / 100 % 26),
                  static_cast<char>('0' + number / 10 % 10), static_cast<char>('0' + number % 10)};
  return options;
}

std::array<HighscoreEntry, kHighscoreRows> TableNow() {
  std::array<HighscoreEntry, kHighscoreRows> table;
  std::memcpy(table.data(), HighscoreTable, sizeof HighscoreTable);
  return table;
}

bool SameTable(const std::array<HighscoreEntry, kHighscoreRows>& a,
               const std::array<HighscoreEntry, kHighscoreRows>& b) {
  return std::memcmp(a.data(), b.data(), sizeof(HighscoreEntry) * kHighscoreRows) == 0;
}

// Loads Highscore.dat as the game does at start-up, over a table it cannot have come from, and
// compares; the game's own table is put back whatever the file held.
std::string CheckHighscoresReload(int game) {
  const std::array<HighscoreEntry, kHighscoreRows> inMemory = TableNow();
  const std::string where = "game " + std::to_string(game) + ": ";
  if (soak.shown && !SameTable(*soak.shown, inMemory)) {
    return where + "the table in memory is not the one the highscore screen showed";
  }
  std::memset(HighscoreTable, 0xA5, sizeof HighscoreTable);
  LoadHighscores();
  const std::array<HighscoreEntry, kHighscoreRows> loaded = TableNow();
  std::memcpy(HighscoreTable, inMemory.data(), sizeof HighscoreTable);
  for (int row = 0; row < kHighscoreRows; ++row) {
    if (std::memcmp(&loaded[row], &inMemory[row], sizeof(HighscoreEntry)) == 0) continue;
    return where + "Highscore.dat does not load back to the table the highscore screen showed: " +
           "row " + std::to_string(row) + " loads as '" + std::string(loaded[row].name, 3) +
           "' " + std::to_string(loaded[row].score) + ", shown as '" +
           std::string(inMemory[row].name, 3) + "' " + std::to_string(inMemory[row].score);
  }
  return "";
}

void EndOfGame() {
  GameReading reading;
  reading.number = soak.last.number + 1;
  reading.score = soak.score;
  reading.gameMs = HeadlessClockNow() - *soak.startMs;
  reading.rssKb = ResidentKb();
  reading.fds = OpenDescriptors();
  if (soak.report) {
    std::printf(
        "game %d: score %d, ended at %u.%03u s of game time, VmRSS %ld kB, %d open "
        "descriptors\n",
        reading.number, reading.score, reading.gameMs / 1000, reading.gameMs % 1000, reading.rssKb,
        reading.fds);
    std::fflush(stdout);
  }
  if (!soak.first) soak.first = reading;
  soak.last = reading;
  if (soak.fault.empty()) soak.fault = CheckHighscoresReload(reading.number);
  soak.shown.reset();
  // Time left and all well: Play again; else the player leaves through Exit.
  if (reading.gameMs < soak.limitMs && soak.fault.empty()) {
    ScriptedPlayerPlayAgain(OptionsForGame(reading.number + 1));
  }
}

void OnFlip() {
  if (!soak.startMs) soak.startMs = HeadlessClockNow();
  switch (CurrentScreen) {
    case ScreenPlay:
      soak.inGame = true;
      soak.score = CurrentGameEntry.score;
      return;
    case ScreenHighscores:
      // The game's score stays until the name's third character, frames after this first flip.
      if (soak.inGame && !soak.shown) soak.score = CurrentGameEntry.score;
      if (soak.inGame) soak.shown = TableNow();
      return;
    case ScreenTitle:
      // The title drawn again (not only entered): the game is over and its table saved.
      if (soak.inGame && !ScreenFirstFrame) {
        if (!soak.shown) soak.score = CurrentGameEntry.score;
        soak.inGame = false;
        EndOfGame();
      }
      return;
    default:
      return;
  }
}

void CountNamed(const NamedGame&) { ++soak.named; }
void CountKept(const std::string&) { ++soak.kept; }

}  // namespace

void SoakKeepGames() {
  KeepGames({ScriptedPlayerAnswer, true, false});
  AddGameNamedObserver(CountNamed);
  AddProofKeptObserver(CountKept);
}

std::string SoakKeeping() {
  return std::to_string(soak.named) + " games named, " + std::to_string(soak.kept) + " kept";
}

void SoakStart(double minutes, bool report) {
  soak = SoakState{};
  soak.limitMs = static_cast<uint32_t>(minutes * 60000.0);
  soak.report = report;
  if (report && !kMemoryJudged) {
    std::printf("zimbrel-replay: soak: built with AddressSanitizer, which keeps freed memory a "
                "while: resident memory is printed, not judged\n");
  }
  ScriptedPlayerStart(OptionsForGame(1));
  SetDeviceReadHook(ScriptedPlayerAnswer);
  AddFlipObserver(OnFlip);
}

std::string SoakVerdict() {
  if (!soak.fault.empty()) return soak.fault;
  if (!soak.first) return "no game was played to its end";
  if (soak.kept != soak.named) return SoakKeeping() + ": every game named must be kept";
  const GameReading& first = *soak.first;
  const GameReading& last = soak.last;
  std::string verdict;
  if (kMemoryJudged && last.rssKb - first.rssKb > kRssToleranceKb) {
    verdict = "resident memory grew from " + std::to_string(first.rssKb) + " kB after game 1 to " +
              std::to_string(last.rssKb) + " kB after game " + std::to_string(last.number) +
              " (at most " + std::to_string(kRssToleranceKb) + " kB allowed)";
  }
  if (last.fds - first.fds > kFdTolerance) {
    if (!verdict.empty()) verdict += "; ";
    verdict += "open descriptors grew from " + std::to_string(first.fds) + " after game 1 to " +
               std::to_string(last.fds) + " after game " + std::to_string(last.number);
  }
  return verdict;
}
