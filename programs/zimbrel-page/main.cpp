// The program's entry in a browser page: the pictures, sounds and font are packed under /data,
// and the game runs in /save, the folder kept in IndexedDB, where it writes Highscore.dat and
// keeps its games in replays/. A page opened with ?watch=NAME shows the kept game NAME instead,
// in a folder of its own, so that the player's table is neither read nor written.
#include <emscripten.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>
#include <string>

#include "platform/files/game_data_folder.h"
#include "platform/sdl/platform_quit.h"
#include "platform/seams/screen_offers.h"
#include "platform/web/browser_storage.h"
#include "platform/web/hidden_page.h"
#include "platform/win32/win.h"
#include "replay/kept_games.h"
#include "replay/scratch_folder.h"
#include "replay/watching.h"
#include "shell/win_main.h"

namespace {

constexpr char kSaveFolder[] = "/save";
constexpr char kWatchFolder[] = "/watch";

EM_JS(void, TellPageGameStarting, (), {
  if (Module.onGameStarting) Module.onGameStarting();
});

EM_JS(void, TellPageGameEnded, (), {
  if (Module.onGameEnded) Module.onGameEnded();
});

// A kept game's proof, as text, to the page, which sends it to the leaderboard that served it.
EM_JS(void, TellPageProofKept, (const char* path), {
  if (Module.onProofKept) Module.onProofKept(FS.readFile(UTF8ToString(path), {encoding: "utf8"}));
});

void OnProofKept(const std::string& path) { TellPageProofKept(path.c_str()); }

// The page's ?watch=NAME into `out`, or nothing; the name a file of replays/ and no more.
EM_JS(void, WatchedGame, (char* out, int size), {
  const name = new URLSearchParams(location.search).get("watch") || "";
  const usable = new RegExp("^[A-Za-z0-9_.-]{1,100}[.]replay$").test(name) ? name : "";
  stringToUTF8(usable, out, size);
});

// What the screen asks beyond pointing: the page's button for Escape ("Give up" in play,
// "Back" on the credits and the table), and the phone's keyboard while a name is typed.
EM_JS(void, TellPageScreenOffers, (int escape, int nameWanted), {
  if (Module.onScreenOffers) Module.onScreenOffers(["", "Give up", "Back"][escape], !!nameWanted);
});

void OnScreenOffers(EscapeOffer escape, bool nameWanted) {
  TellPageScreenOffers(static_cast<int>(escape), nameWanted ? 1 : 0);
}

EM_JS(void, TellPageWatchFailed, (const char* why), {
  if (Module.onWatchFailed) Module.onWatchFailed(UTF8ToString(why));
});

// The kept game loaded, and the game started in a folder of its own with its table.
bool StartWatching(const std::string& name) {
  std::string error;
  std::optional<Replay> replay =
      LoadReplay(std::string(kSaveFolder) + "/" + kKeptGamesFolder + "/" + name, &error);
  if (replay && (mkdir(kWatchFolder, 0777) != 0 || chdir(kWatchFolder) != 0)) {
    error = std::string(kWatchFolder) + ": cannot be made";
    replay.reset();
  }
  if (replay && !PlaceStartingTable(*replay, &error)) replay.reset();
  if (!replay) {
    TellPageWatchFailed(error.c_str());
    return false;
  }
  WatchReplay(std::move(*replay));
  return true;
}

}  // namespace

int main(int, char**) {
  SetGameDataFolder("/data");
  OpenSaveFolder(kSaveFolder);
  char watched[128] = {};
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
