#include "replay/kept_games.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/files/atomic_file.h"
#include "platform/files/folder_lock.h"
#include "platform/options/command_line.h"
#include "platform/seams/flip_observer.h"
#include "platform/seams/game_named.h"
#include "replay/proof.h"
#include "replay/proof_check.h"
#include "replay/replay_recorder.h"
#include "scores/highscore_file.h"

namespace fs = std::filesystem;

namespace {

struct Keeper {
  bool started = false;  // the first flip seen, and the table noted
  ReplayTable table{};
  std::vector<ProvenGame> named;
  bool proofDue = false;
  bool saidFull = false;
  std::vector<void (*)(const std::string&)> proofKept;
};
Keeper keeper;

// "2026-12-09_19-42-05_K9A_12400.replay": by date and time first, so that names sort as the
// games came.
std::string ProofName(const ProvenGame& game) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char when[32];
  std::strftime(when, sizeof when, "%Y-%m-%d_%H-%M-%S", &local);
  std::string name = game.name;
  for (char& c : name) {
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) c = '_';
  }
  return std::string(when) + "_" + name + "_" + std::to_string(game.score);
}

bool KeptName(const std::string& name) {
  return name.size() > 20 && name[4] == '-' && name[10] == '_' && name.ends_with(".replay");
}

// The oldest beyond the last kKeptGamesKept go; anything else in the folder is the player's.
void KeepTheLast() {
  std::error_code fault;
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(kKeptGamesFolder, fault)) {
    const std::string name = entry.path().filename().string();
    if (KeptName(name)) names.push_back(name);
  }
  if (names.size() <= kKeptGamesKept) return;
  std::sort(names.begin(), names.end());
  for (size_t i = 0; i + kKeptGamesKept < names.size(); ++i) {
    fs::remove(fs::path(kKeptGamesFolder) / names[i], fault);
  }
}

void SayNotKept(const std::string& path, int reason) {
  std::error_code ignored;
  const fs::path shown = fs::absolute(path, ignored);
  std::fprintf(stderr, "Zimbrel: the game could not be kept in %s: %s\n", shown.c_str(),
               std::strerror(reason));
}

void WriteProofText(const std::string& text) {
  if (mkdir(kKeptGamesFolder, 0777) != 0 && errno != EEXIST) {
    SayNotKept(kKeptGamesFolder, errno);
    return;
  }
  const std::string stem = std::string(kKeptGamesFolder) + "/" + ProofName(keeper.named.back());
  std::string path = stem + ".replay";
  for (int again = 2; fs::exists(path); ++again) {
    path = stem + "-" + std::to_string(again) + ".replay";
  }
  if (!WriteFileAtomically(path.c_str(), text.data(), text.size())) {
    SayNotKept(path, errno);
    return;
  }
  KeepTheLast();
  for (const auto observer : keeper.proofKept) observer(path);
}

void WriteProof() {
  // No check would play a proof past two hours of flips.
  if (ReplayRecordingFull() || PresentedFlipCount() > kMostFlipsOfAProof) {
    if (!keeper.saidFull) {
      std::fprintf(stderr,
                   "Zimbrel: this session is longer than a proof may be (%ld bytes, or two hours "
                   "of play); its games are no longer kept, until the game is started again\n",
                   kLargestReplayBytes);
    }
    keeper.saidFull = true;
    return;
  }
  const std::string text =
      ReplayHeaderText() + ProofClaimsText("zimbrel " + ProgramVersion(), ThisBuild(), keeper.named) +
      ReplayTableText(keeper.table) + ReplayRecordedLines() + ReplayEndText(PresentedFlipCount());
  // The game's turn at the save folder: in a browser the turn fills the folder afresh from
  // the page's storage and carries the kept game back, beside what other tabs kept.
  const int lock = LockFolder(".");
  WriteProofText(text);
  UnlockFolder(lock);
}

void OnFlip() {
  if (!keeper.started) {
    // Nothing has changed the table since start-up read it: no game has been played yet.
    keeper.started = true;
    EncodeHighscores(keeper.table.data());
  }
  if (!keeper.proofDue) return;
  // The flip after the name: the reads that ended its frame are in, and the replay's end
  // closes the game with nothing more to wait for.
  keeper.proofDue = false;
  WriteProof();
}

void OnNamed(const NamedGame& game) {
  keeper.named.push_back(ProvenGameOf(game));
  keeper.proofDue = true;
}

}  // namespace

void AddProofKeptObserver(void (*observer)(const std::string& path)) {
  keeper.proofKept.push_back(observer);
}

void KeepGames() {
  static_assert(sizeof(ReplayTable) == kHighscoreFileBytes);
  ReplayRecorderStart(ReplayRecorderOptions{nullptr, true, false});
  AddFlipObserver(OnFlip);
  AddGameNamedObserver(OnNamed);
}
