// The program's entry, as the C runtime of the original platform would call the game's; the
// command line is the player's, and the game itself never sees it.
#include <cstdio>
#include <string>
#include <vector>

#include "programs/zimbrel/proof_sending.h"
#include "platform/options/command_line.h"
#include "platform/sdl/platform_quit.h"
#include "platform/win32/win.h"
#include "replay/kept_games.h"
#include "shell/win_main.h"

int main(int argc, char** argv) {
  // A program may be started with no arguments at all, not even its name.
  const std::vector<std::string> arguments =
      argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
  const CommandLine line = ParseCommandLine(arguments);
  switch (line.action) {
    case CommandLine::Action::ShowHelp:
      std::fputs(UsageText().c_str(), stdout);
      return 0;
    case CommandLine::Action::ShowVersion:
      std::fputs(VersionText().c_str(), stdout);
      return 0;
    case CommandLine::Action::Refuse:
      std::fprintf(stderr, "zimbrel: %s\n%s", line.fault.c_str(), UsageText().c_str());
      return 2;
    case CommandLine::Action::Play:
      break;
  }
  CurrentPlayerOptions() = line.options;
  const std::string leaderboard = ConfiguredLeaderboard(line.options.leaderboard);
  if (!leaderboard.empty()) {
    StartSendingProofs(leaderboard);
    AddProofKeptObserver(NoteProofKept);
  }
  KeepGames();
  char commandLine[] = "";
  const int status = WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, 1);
  PlatformQuit();
  return status;
}
