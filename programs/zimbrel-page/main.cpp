// The program's entry in a browser page: the pictures, sounds and font are packed under /data,
// and the game runs in /save, the folder kept in IndexedDB, where it writes Highscore.dat and
// keeps its games in replays/. A page opened with ?watch=NAME shows the kept game NAME instead,
// in a folder of its own, so that the player's table is neither read nor written; so does the
// watching page (watch.js), with its controls, for a kept game or a ranked game's proof.
#include <emscripten.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/files/game_data_folder.h"
#include "platform/sdl/platform_quit.h"
#include "platform/seams/screen_offers.h"
#include "platform/web/browser_storage.h"
#include "platform/web/hidden_page.h"
#include "platform/win32/win.h"
#include "programs/zimbrel-page/watch_controls.h"
#include "programs/zimbrel-send/unsent_folder.h"
#include "replay/kept_games.h"
#include "replay/scratch_folder.h"
#include "replay/watching.h"
#include "shell/win_main.h"

namespace fs = std::filesystem;

namespace {

constexpr char kSaveFolder[] = "/save";
constexpr char kWatchFolder[] = "/watch";

EM_JS(void, TellPageGameStarting, (), {
  if (Module.onGameStarting) Module.onGameStarting();
});

EM_JS(void, TellPageGameEnded, (), {
  if (Module.onGameEnded) Module.onGameEnded();
});

// The page sends what waits in replays/unsent/ to the leaderboard that served it.
EM_JS(void, TellPageProofKept, (), {
  if (Module.onProofKept) Module.onProofKept();
});

// A kept game's proof waits in replays/unsent/ until the leaderboard has ranked or refused it,
// as the desktop's does. A copy (IndexedDB keeps no links) made in the game's turn at the save
// folder, so that it reaches IndexedDB with the proof itself: a game kept while the leaderboard
// cannot be reached is sent at a later visit. One whose kept game has gone (beyond the last
// 100) goes too, so that a page no leaderboard serves never gathers more.
void OnProofKept(const std::string& path) {
  std::error_code fault;
  fs::create_directories(kUnsentFolder, fault);
  fs::copy_file(path, fs::path(kUnsentFolder) / fs::path(path).filename(),
                fs::copy_options::overwrite_existing, fault);
  if (fault) {
    std::fprintf(stderr, "Zimbrel: %s cannot wait to be sent to the leaderboard: %s\n", path.c_str(),
                 fault.message().c_str());
  }
  std::vector<fs::path> gone;
  fs::directory_iterator waiting(kUnsentFolder, fault);
  for (; !fault && waiting != fs::directory_iterator(); waiting.increment(fault)) {
    const fs::path kept = fs::path(kKeptGamesFolder) / waiting->path().filename();
    std::error_code ignored;
    if (!fs::exists(kept, ignored)) gone.push_back(waiting->path());
  }
  for (const fs::path& proof : gone) fs::remove(proof, fault);
  TellPageProofKept();
}

// The replay to watch into `out`, or nothing: the proof the watching page wrote, or the page's
// ?watch=NAME, a file of replays/ and no more.
EM_JS(void, WatchedGame, (char* out, int size), {
  const name = new URLSearchParams(location.search).get("watch") || "";
  const usable = new RegExp("^[A-Za-z0-9_.-]{1,100}[.]replay$").test(name) ? "/save/replays/" + name : "";
  stringToUTF8(Module.watchedProof || usable, out, size);
});

// The watching page answers every flip (watch.js).
EM_JS(int, PageHasWatchControls, (), { return Module.watchFlipped ? 1 : 0; });

// What the screen asks beyond pointing: the page's button for Escape ("Give up" in play,
// "Back" on the credits and the table), the phone's keyboard while a name is typed, and the
// browser's question before a page with a game at stake is left.
EM_JS(void, TellPageScreenOffers, (int escape, int nameWanted, int gameAtStake), {
  if (Module.onScreenOffers) {
    Module.onScreenOffers(["", "Give up", "Back"][escape], !!nameWanted, !!gameAtStake);
  }
});

void OnScreenOffers(EscapeOffer escape, bool nameWanted, bool gameAtStake) {
  TellPageScreenOffers(static_cast<int>(escape), nameWanted ? 1 : 0, gameAtStake ? 1 : 0);
}

EM_JS(void, TellPageWatchFailed, (const char* why), {
  if (Module.onWatchFailed) Module.onWatchFailed(UTF8ToString(why));
});

// The kept game loaded, and the game started in a folder of its own with its table.
bool StartWatching(const std::string& path) {
  std::string error;
  std::optional<Replay> replay = LoadReplay(path, &error);
  if (replay && (mkdir(kWatchFolder, 0777) != 0 || chdir(kWatchFolder) != 0)) {
    error = std::string(kWatchFolder) + ": cannot be made";
    replay.reset();
  }
  if (replay && !PlaceStartingTable(*replay, &error)) replay.reset();
  if (!replay) {
    TellPageWatchFailed(error.c_str());
    return false;
  }
  if (PageHasWatchControls()) {
    WatchWithControls(std::move(*replay));
  } else {
    WatchReplay(std::move(*replay));
  }
  return true;
}

}  // namespace

int main(int, char**) {
  SetGameDataFolder("/data");
  OpenSaveFolder(kSaveFolder);
  char watched[160] = {};
  WatchedGame(watched, sizeof watched);
  const std::string name = watched;
  if (!name.empty()) {
    if (!StartWatching(name)) return 1;
  } else {
    if (chdir(kSaveFolder) != 0) return 1;
    KeepGames();
    AddProofKeptObserver(OnProofKept);
    SetScreenOffersObserver(OnScreenOffers);
  }
  HoldRulesClockWhileHidden();
  TellPageGameStarting();
  char commandLine[] = "";
  WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, 1);
  PlatformQuit();
  TellPageGameEnded();
  return 0;
}
