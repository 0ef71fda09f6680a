// zimbrel-replay: plays a replay headless, or records a game played in the window as one.
// Run in the runnable folder, beside zimbrel (docs/replay.md).
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/sdl/platform_quit.h"
#include "platform/seams/flip_observer.h"
#include "platform/seams/headless.h"
#include "platform/session/ending_signals.h"
#include "platform/win32/win.h"
#include "replay/replay_file.h"
#include "replay/replay_player.h"
#include "replay/replay_recorder.h"
#include "replay/scratch_folder.h"
#include "shell/win_main.h"
#include "tools/autoplay/scripted_player.h"
#include "tools/replay/output_file.h"
#include "tools/replay/replay_command.h"
#include "tools/replay/run_outputs.h"
#include "tools/replay/soak_run.h"

namespace {

constexpr int kRefused = 1;  // bad arguments or a bad replay: nothing was run
constexpr int kStopped = 2;  // the replay could not bring the game to its end
constexpr int kSoakFailed = 3;  // memory or descriptors grew, or the highscores did not reload

void SayFault(const std::string& message) {
  std::fprintf(stderr, "zimbrel-replay: %s\n", message.c_str());
}

int Refuse(const std::string& message) {
  SayFault(message);
  return kRefused;
}

// Paths given on the command line are the caller's, whatever folder the game then runs in.
std::string Absolute(const std::string& path) {
  return path.empty() ? path : std::filesystem::absolute(path).string();
}

void MakeOutputsAbsolute(ReplayCommand& command) {
  command.outputs.linesPath = Absolute(command.outputs.linesPath);
  command.outputs.pngFolder = Absolute(command.outputs.pngFolder);
  command.outputs.audioPath = Absolute(command.outputs.audioPath);
  command.highscoresPath = Absolute(command.highscoresPath);
}

void RunTheGame() {
  char commandLine[] = "";
  WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, 1);
}

// What is left after the run: the outputs, the highscores, the scratch folder. False when one
// of them could not be written, which has then been said.
bool FinishRun(const ReplayCommand& command, const ScratchFolder& scratch, bool shutDown = true) {
  bool complete = true;
  std::string error;
  if (!RunOutputsFinish(&error)) {
    SayFault(error);
    complete = false;
  }
  if (!command.highscoresPath.empty() && !shutDown) {
    SayFault(command.highscoresPath + ": not written, the game did not shut down");
    complete = false;
  } else if (!command.highscoresPath.empty() && !KeepHighscores(command.highscoresPath, &error)) {
    SayFault(error);
    complete = false;
  }
  LeaveScratchFolder(scratch);
  PlatformQuit();
  return complete;
}

void ReportPlay(const std::string& file) {
  const ReplayPlayerReport report = ReplayPlayerResult();
  const unsigned long long flips = PresentedFlipCount();
  if (const int signalNumber = EndingSignal()) {
    const char* name = signalNumber == SIGINT    ? "SIGINT"
                       : signalNumber == SIGTERM ? "SIGTERM"
                                                 : "SIGHUP";
    std::printf("zimbrel-replay: %s: interrupted by %s after flip %llu; the game shut down\n",
                file.c_str(), name, flips);
  } else if (report.closedAtEnd) {
    std::printf("zimbrel-replay: %s: the window was closed after flip %llu, where the replay "
                "ends, and the game shut down after flip %llu\n",
                file.c_str(), static_cast<unsigned long long>(*report.endFlip), flips);
  } else {
    std::printf("zimbrel-replay: %s: the game ended by itself after flip %llu\n", file.c_str(),
                flips);
  }
  if (report.firstLateLine != 0) {
    std::fprintf(stderr, "zimbrel-replay: %s:%d: note: the game never made this read; the line "
                 "counted at its next read of that device\n", file.c_str(), report.firstLateLine);
  }
  if (report.firstUnreadLine != 0) {
    std::fprintf(stderr, "zimbrel-replay: %s:%d: note: the game ended before this line\n",
                 file.c_str(), report.firstUnreadLine);
  }
}

int Play(ReplayCommand command) {
  std::string error;
  std::optional<Replay> replay = LoadReplay(command.file, &error);
  if (!replay) return Refuse(error);
  MakeOutputsAbsolute(command);
  const std::optional<ScratchFolder> scratch = EnterScratchFolder(&error);
  if (!scratch) return Refuse(error);
  if (!RunOutputsStart(command.outputs, &error)) {
    LeaveScratchFolder(*scratch);
    return Refuse(error);
  }
  HeadlessEnable();
  if (command.rulesOnly) HeadlessDrawNothing();
  ReplayPlayerStart(std::move(*replay));
  try {
    RunTheGame();
  } catch (const ReplayStopped& stopped) {
    std::fprintf(stderr, "zimbrel-replay: %s: %s; stopped without the game's shutdown\n",
                 command.file.c_str(), stopped.why.c_str());
    FinishRun(command, *scratch, false);
    return kStopped;
  }
  const bool complete = FinishRun(command, *scratch);
  ReportPlay(command.file);
  // As a shell reports a command a signal ended: 130 for SIGINT, 143 for SIGTERM.
  if (EndingSignal() != 0) return 128 + EndingSignal();
  return complete ? 0 : kRefused;
}

// A game whose every read is noted, written as a replay when it ends: played in the window by
// a person (record) or headless by the scripted player (autoplay).
int RecordRun(ReplayCommand command, const char* done) {
  command.file = Absolute(command.file);
  MakeOutputsAbsolute(command);
  // Opened now, so that a session is never played only to find its replay cannot be kept.
  std::ofstream file(command.file, std::ios::binary | std::ios::trunc);
  if (!file) return Refuse(command.file + ": cannot be written");
  std::string error;
  const std::optional<ScratchFolder> scratch = EnterScratchFolder(&error);
  if (!scratch) return Refuse(error);
  if (!RunOutputsStart(command.outputs, &error)) {
    LeaveScratchFolder(*scratch);
    return Refuse(error);
  }
  if (command.verb == ReplayVerb::Autoplay) {
    // Headless, the run times itself again on the virtual clock: no clock lines are needed.
    HeadlessEnable();
    ScriptedPlayerStart(ScriptedPlayerOptions{command.untilStage, command.name, command.lazyBoss});
    ReplayRecorderStart(ScriptedPlayerAnswer, false);
  } else {
    ReplayRecorderStart();
  }
  RunTheGame();
  file << FormatReplay(ReplayRecorded());
  file.close();
  bool complete = FinishRun(command, *scratch);
  if (!file) {
    SayFault(command.file + ": cannot be written");
    complete = false;
  }
  if (complete) {
    std::printf("zimbrel-replay: %s: %s %llu flips\n", command.file.c_str(), done,
                static_cast<unsigned long long>(PresentedFlipCount()));
  }
  return complete ? 0 : kRefused;
}

// Games back to back in this one process, on the virtual clock, without a replay: a recording
// would grow with every game and hide what the soak measures.
int Soak(const ReplayCommand& command) {
  std::string error;
  const std::optional<ScratchFolder> scratch = EnterScratchFolder(&error);
  if (!scratch) return Refuse(error);
  HeadlessEnable();
  SoakStart(command.soakMinutes);
  const auto started = std::chrono::steady_clock::now();
  RunTheGame();
  const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - started;
  const bool complete = FinishRun(command, *scratch);
  const std::string verdict = SoakVerdict();
  std::printf("zimbrel-replay: soak: %llu flips in %.1f s\n",
              static_cast<unsigned long long>(PresentedFlipCount()), wall.count());
  if (!verdict.empty()) {
    SayFault("soak: " + verdict);
    return kSoakFailed;
  }
  return complete ? 0 : kRefused;
}

// The usage, one command a line, for -h and --help.
void ShowHelp() {
  std::string usage = kReplayUsage;
  usage.replace(0, std::string("usage: ").size(), "Usage:\n  ");
  for (size_t at = usage.find(" | "); at != std::string::npos; at = usage.find(" | ", at)) {
    usage.replace(at, 3, "\n  ");
  }
  std::printf("%s\n\nRun it in the runnable folder, beside zimbrel, which it plays headless "
              "(but for record);\nevery run starts from the default highscores. See "
              "zimbrel(6).\n", usage.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::string(argv[1]) == "-h" || std::string(argv[1]) == "--help")) {
    ShowHelp();
    return 0;
  }
  std::string error;
  std::optional<ReplayCommand> command = ParseReplayCommand(argc, argv, &error);
  if (!command) return Refuse(error);
  switch (command->verb) {
    case ReplayVerb::Play:
      return Play(std::move(*command));
    case ReplayVerb::Record:
      return RecordRun(std::move(*command), "recorded");
    case ReplayVerb::Autoplay:
      return RecordRun(std::move(*command), "the scripted player played");
    case ReplayVerb::Soak:
      return Soak(*command);
  }
  return kRefused;
}
