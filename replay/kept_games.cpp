#include "replay/kept_games.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/files/atomic_file.h"
#include "platform/files/folder_lock.h"
#include "platform/options/command_line.h"
#include "platform/seams/flip_observer.h"
#include "platform/seams/game_named.h"
#include "platform/seams/play_under_way.h"
#include "replay/proof.h"
#include "replay/proof_check.h"
#include "replay/replay_recorder.h"
#include "scores/highscore_file.h"

namespace fs = std::filesystem;

namespace {

struct Keeper {
  // The game under way since the flip after its Play click, with the table then; none between
  // games.
  std::optional<ReplayStart> start;
  ReplayTable table{};
  std::optional<ProvenGame> named;
  bool proofDue = false;
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
  const std::string stem = std::string(kKeptGamesFolder) + "/" + ProofName(*keeper.named);
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
  // Only a test that sets the game's records names a game that no Play click began.
  if (!keeper.start) return;
  // No check would play a proof past two hours of flips.
  if (ReplayRecordingFull() || PresentedFlipCount() - keeper.start->flip > kMostFlipsOfAProof) {
    std::fprintf(stderr,
                 "Zimbrel: this game is longer than a proof may be (%ld bytes, or two hours of "
                 "play); it is not kept\n",
                 kLargestReplayBytes);
    return;
  }
  const std::string text =
      ReplayHeaderText() +
      ProofClaimsText("zimbrel " + ProgramVersion(), ThisBuild(), {*keeper.named}) +
      ReplayStartText(*keeper.start) + ReplayTableText(keeper.table) + ReplayRecordedLines() +
      ReplayEndText(PresentedFlipCount());
  // The game's turn at the save folder: in a browser the turn fills the folder afresh from
  // the page's storage and carries the kept game back, beside what other tabs kept.
  const int lock = LockFolder(".");
  WriteProofText(text);
  UnlockFolder(lock);
}

// A game's recording starts at the flip after its Play click, where what it carried in and the
// table are noted, and lasts while it is played and while its name may yet be asked for;
// between games nothing is kept.
void FollowTheGame() {
  if (RulesInPlay()) {
    if (keeper.start) return;
    keeper.start = ReplayStart{PresentedFlipCount(), CarriedIntoPlay(), 0};
    EncodeHighscores(keeper.table.data());
    ReplayRecorderBeginAgain(keeper.start->carried);
  } else if (!NameAhead()) {
    keeper.start.reset();
    ReplayRecorderBeginAgain(CarriedIntoPlay());
  }
}

void OnFlip() {
  if (keeper.proofDue) {
    // The flip after the name: the reads that ended its frame are in, and the replay's end
    // closes the game with nothing more to wait for.
    keeper.proofDue = false;
    WriteProof();
  }
  FollowTheGame();
}

void OnNamed(const NamedGame& game) {
  keeper.named = ProvenGameOf(game);
  keeper.proofDue = true;
}

}  // namespace

void AddProofKeptObserver(void (*observer)(const std::string& path)) {
  keeper.proofKept.push_back(observer);
}

void KeepGames(const ReplayRecorderOptions& recording) {
  static_assert(sizeof(ReplayTable) == kHighscoreFileBytes);
  ReplayRecorderStart(recording);
  AddFlipObserver(OnFlip);
  AddGameNamedObserver(OnNamed);
}
