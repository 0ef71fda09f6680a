// The program's entry in a browser page: the pictures, sounds and font are packed under /data,
// and the game runs in /save, the folder kept in IndexedDB, where it writes Highscore.dat.
#include <emscripten.h>
#include <unistd.h>

#include "platform/files/game_data_folder.h"
#include "platform/sdl/platform_quit.h"
#include "platform/web/browser_storage.h"
#include "platform/web/hidden_page.h"
#include "platform/win32/win.h"
#include "shell/win_main.h"

namespace {

constexpr char kSaveFolder[] = "/save";

EM_JS(void, TellPageGameStarting, (), {
  if (Module.onGameStarting) Module.onGameStarting();
});

EM_JS(void, TellPageGameEnded, (), {
  if (Module.onGameEnded) Module.onGameEnded();
});

}  // namespace

int main(int, char**) {
  SetGameDataFolder("/data");
  OpenSaveFolder(kSaveFolder);
  if (chdir(kSaveFolder) != 0) return 1;
  HoldRulesClockWhileHidden();
  TellPageGameStarting();
  char commandLine[] = "";
  WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, 1);
  PlatformQuit();
  TellPageGameEnded();
  return 0;
}
