// zimbrel-replay: plays a replay headless, checks a kept game, shows one in the window, or
// records a game played in the window as one. Run in the runnable folder, beside zimbrel
// (docs/replay.md).
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/options/command_line.h"
#include "platform/options/player_options.h"
#include "platform/options/quoted_text.h"
#include "platform/sdl/platform_quit.h"
#include "platform/seams/flip_observer.h"
#include "platform/seams/game_named.h"
#include "platform/seams/headless.h"
#include "platform/session/ending_signals.h"
#include "platform/win32/win.h"
#include "replay/proof.h"
#include "replay/proof_check.h"
#include "replay/replay_file.h"
#include "replay/replay_player.h"
#include "replay/replay_recorder.h"
#include "replay/scratch_folder.h"
#include "replay/verify_files.h"
#include "replay/watching.h"
#include "shell/win_main.h"
#include "tools/autoplay/scripted_player.h"
#include "tools/replay/output_file.h"
#include "tools/replay/replay_command.h"
#include "tools/replay/run_outputs.h"
#include "tools/replay/soak_run.h"

namespace {

constexpr int kRefused = 1;     // bad arguments or a bad replay: nothing was run
constexpr int kStopped = 2;     // the replay could not bring the game to its end
constexpr int kSoakFailed = 3;  // memory or descriptors grew, or the highscores did not reload

// A message names files and words as they were given: their control characters are shown
// escaped, never sent to the terminal.
void SayFault(const std::string& message) {
  std::fprintf(stderr, "zimbrel-replay: %s\n", ShownText(message).c_str());
}

int Refuse(const std::string& message) {
  SayFault(message);
  return kRefused;
}

const char* SignalName(int signalNumber) {
  return signalNumber == SIGINT    ? "SIGINT"
         : signalNumber == SIGTERM ? "SIGTERM"
         : signalNumber == SIGQUIT ? "SIGQUIT"
                                   : "SIGHUP";
}

// As a shell reports a command a signal ended: 130 for SIGINT, 143 for SIGTERM.
int SignalStatus() { return 128 + EndingSignal(); }

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
    std::printf("zimbrel-replay: %s: interrupted by %s after flip %llu; the game shut down\n",
                ShownText(file).c_str(), SignalName(signalNumber), flips);
  } else if (report.closedAtEnd) {
    std::printf(
        "zimbrel-replay: %s: the window was closed after flip %llu, where the replay "
        "ends, and the game shut down after flip %llu\n",
        ShownText(file).c_str(), static_cast<unsigned long long>(*report.endFlip), flips);
  } else {
    std::printf("zimbrel-replay: %s: the game ended by itself after flip %llu\n",
                ShownText(file).c_str(), flips);
  }
  if (report.firstLateLine != 0) {
    std::fprintf(stderr,
                 "zimbrel-replay: %s:%d: note: the game never made this read; the line "
                 "counted at its next read of that device\n",
                 ShownText(file).c_str(), report.firstLateLine);
  }
  if (report.firstUnreadLine != 0) {
    std::fprintf(stderr, "zimbrel-replay: %s:%d: note: the game ended before this line\n",
                 ShownText(file).c_str(), report.firstUnreadLine);
  }
}

// The replay read, and the scratch folder entered with the table it starts from.
std::optional<Replay> EnterWithReplay(const ReplayCommand& command,
                                      std::optional<ScratchFolder>* scratch, int* status) {
  std::string error;
  std::optional<Replay> replay = LoadReplay(command.file, &error);
  if (replay) *scratch = EnterScratchFolder(&error);
  if (replay && *scratch && !PlaceStartingTable(*replay, &error)) {
    LeaveScratchFolder(**scratch);
    scratch->reset();
  }
  if (replay && *scratch) return replay;
  *status = Refuse(error);
  return std::nullopt;
}

int Play(const ReplayCommand& command) {
  std::optional<ScratchFolder> scratch;
  int status = 0;
  std::optional<Replay> replay = EnterWithReplay(command, &scratch, &status);
  if (!replay) return status;
  std::string error;
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
    const std::string line = stopped.lineNumber ? ":" + std::to_string(stopped.lineNumber) : "";
    std::fprintf(stderr, "zimbrel-replay: %s%s: %s; stopped without the game's shutdown\n",
                 ShownText(command.file).c_str(), line.c_str(), stopped.why.c_str());
    FinishRun(command, *scratch, false);
    return kStopped;
  }
  const bool complete = FinishRun(command, *scratch);
  ReportPlay(command.file);
  if (EndingSignal() != 0) return SignalStatus();
  return complete ? 0 : kRefused;
}

// A kept game in the game's own window, at the pace it was played, from where `from` says.
int WatchOnce(const ReplayCommand& command, const WatchFrom& from) {
  std::optional<ScratchFolder> scratch;
  int status = 0;
  std::optional<Replay> replay = EnterWithReplay(command, &scratch, &status);
  if (!replay) return status;
  if (from.flip > LastFlipOf(*replay)) {
    LeaveScratchFolder(*scratch);
    return Refuse(command.file + ": --flip " + std::to_string(from.flip) + " is past its last flip, " +
                  std::to_string(LastFlipOf(*replay)));
  }
  CurrentPlayerOptions() = command.window;
  WatchReplay(std::move(*replay), from);
  try {
    RunTheGame();
  } catch (const ReplayStopped& stopped) {
    std::fprintf(stderr, "zimbrel-replay: %s: %s\n", ShownText(command.file).c_str(),
                 stopped.why.c_str());
    LeaveScratchFolder(*scratch);
    PlatformQuit();
    return kStopped;
  }
  LeaveScratchFolder(*scratch);
  PlatformQuit();
  if (WatchingGoesBack()) return 0;
  if (WatchingEndedByEscape()) {
    std::printf("zimbrel-replay: %s: watched up to flip %llu, where Escape ended it\n",
                ShownText(command.file).c_str(),
                static_cast<unsigned long long>(PresentedFlipCount()));
    return 0;
  }
  if (EndingSignal() != 0) return SignalStatus();
  std::printf("zimbrel-replay: %s: watched to its end, %llu flips\n",
              ShownText(command.file).c_str(),
              static_cast<unsigned long long>(PresentedFlipCount()));
  return 0;
}

// The run watching now, which the signals that end a session are passed on to.
volatile sig_atomic_t watchingChild = 0;
void PassOnTheSignal(int signalNumber) {
  if (watchingChild > 0) kill(watchingChild, signalNumber);
}

// Each run in a child process: the game's records are the process's, and a run that goes back
// leaves them for a fresh copy of this one, which has started no game.
int Watch(const ReplayCommand& command) {
  for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) signal(signalNumber, PassOnTheSignal);
  WatchFrom from{command.startFlip, command.startFlip != 0};
  for (;;) {
    int back[2];
    if (pipe2(back, O_CLOEXEC) != 0) return Refuse(std::string("cannot make a pipe (") + std::strerror(errno) + ")");
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) return Refuse(std::string("cannot fork (") + std::strerror(errno) + ")");
    if (child == 0) {
      close(back[0]);
      for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) signal(signalNumber, SIG_DFL);
      const int status = WatchOnce(command, from);
      if (const std::optional<WatchFrom> next = WatchingGoesBack()) {
        if (write(back[1], &*next, sizeof *next) != sizeof *next) _exit(kStopped);
      }
      std::fflush(nullptr);
      _exit(status);
    }
    watchingChild = child;
    close(back[1]);
    WatchFrom next;
    ssize_t got = 0;
    while ((got = read(back[0], &next, sizeof next)) < 0 && errno == EINTR) {
    }
    close(back[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    watchingChild = 0;
    if (got == static_cast<ssize_t>(sizeof next) && WIFEXITED(status) && WEXITSTATUS(status) == 0) {
      from = next;
      continue;
    }
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return WEXITSTATUS(status);
  }
}

// The games the scripted player names, claimed at the top of its replay.
std::vector<ProvenGame> autoplayed;
void NoteAutoplayedGame(const NamedGame& game) { autoplayed.push_back(ProvenGameOf(game)); }

// A game whose every read is noted, written as a replay when it ends: played in the window by
// a person (record) or headless by the scripted player (autoplay).
int RecordRun(const ReplayCommand& command, const char* done) {
  // Opened now, so that a session is never played only to find its replay cannot be kept.
  const int probe = open(command.file.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
  if (probe < 0) {
    return Refuse(command.file + ": cannot be written (" + std::strerror(errno) + ")");
  }
  close(probe);
  std::string error;
  const std::optional<ScratchFolder> scratch = EnterScratchFolder(&error);
  if (!scratch) return Refuse(error);
  if (!RunOutputsStart(command.outputs, &error)) {
    LeaveScratchFolder(*scratch);
    return Refuse(error);
  }
  std::string claims;
  if (command.verb == ReplayVerb::Autoplay) {
    // Headless, the run times itself again on the virtual clock: no clock lines are needed.
    HeadlessEnable();
    const ScriptedPlayerOptions options{command.untilStage, command.name, command.lazyBoss};
    if (command.minutesGiven) {
      SoakStart(command.minutes, false);
    } else {
      ScriptedPlayerStart(options);
    }
    ReplayRecorderStart(ReplayRecorderOptions{ScriptedPlayerAnswer, false, true});
    AddGameNamedObserver(NoteAutoplayedGame);
  } else {
    ReplayRecorderStart();
  }
  RunTheGame();
  if (command.verb == ReplayVerb::Autoplay) {
    // Headless, its flips keep the desktop's pace on the virtual clock, in any build.
    claims = ProofClaimsText("zimbrel-replay " + ProgramVersion(), ProofBuild::Desktop, autoplayed);
  }
  const std::string text = ReplayHeaderText() + claims + ReplayRecordedLines();
  bool complete = FinishRun(command, *scratch);
  if (!WriteOutputFile(command.file, text.data(), text.size(), &error)) {
    SayFault(error);
    complete = false;
  }
  const unsigned long long flips = PresentedFlipCount();
  if (ReplayRecordingFull()) {
    SayFault(command.file +
             ": the session grew longer than a replay may be; it holds the "
             "game up to where it did, and cannot be played to its end");
    complete = false;
  }
  if (const int signalNumber = EndingSignal()) {
    std::printf("zimbrel-replay: %s: interrupted by %s after flip %llu; the replay ends there\n",
                ShownText(command.file).c_str(), SignalName(signalNumber), flips);
    return SignalStatus();
  }
  if (complete)
    std::printf("zimbrel-replay: %s: %s %llu flips\n", ShownText(command.file).c_str(), done,
                flips);
  return complete ? 0 : kRefused;
}

// Games back to back in this one process, on the virtual clock, without a replay: a recording
// would grow with every game and hide what the soak measures.
int Soak(const ReplayCommand& command) {
  std::string error;
  const std::optional<ScratchFolder> scratch = EnterScratchFolder(&error);
  if (!scratch) return Refuse(error);
  HeadlessEnable();
  SoakStart(command.minutes);
  SoakKeepGames();
  const auto started = std::chrono::steady_clock::now();
  RunTheGame();
  const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - started;
  const bool complete = FinishRun(command, *scratch);
  if (const int signalNumber = EndingSignal()) {
    std::printf("zimbrel-replay: soak: interrupted by %s after %llu flips in %.1f s\n",
                SignalName(signalNumber), static_cast<unsigned long long>(PresentedFlipCount()),
                wall.count());
    return SignalStatus();
  }
  const std::string verdict = SoakVerdict();
  std::printf("zimbrel-replay: soak: %llu flips in %.1f s, %s\n",
              static_cast<unsigned long long>(PresentedFlipCount()), wall.count(),
              SoakKeeping().c_str());
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
  // Split between commands only: an option's own alternatives (--fullscreen | --window) stay.
  const std::string between = " | zimbrel-replay ";
  for (size_t at = usage.find(between); at != std::string::npos; at = usage.find(between, at)) {
    usage.replace(at, 3, "\n  ");
  }
  std::printf(
      "%s\n\nRun it in the runnable folder, beside zimbrel, which it plays headless "
      "(but for record\nand watch); every run starts from the table its replay carries, "
      "else the default one.\nSee zimbrel(6) and docs/replay.md.\n",
      usage.c_str());
}

int Run(int argc, char** argv) {
  std::string error;
  std::optional<ReplayCommand> command = ParseReplayCommand(argc, argv, &error);
  if (!command) return Refuse(error);
  if (!FilesApart(*command, &error)) return Refuse(error);
  switch (command->verb) {
    case ReplayVerb::Play:
      return Play(*command);
    case ReplayVerb::Record:
      return RecordRun(*command, "recorded");
    case ReplayVerb::Autoplay:
      return RecordRun(*command, "the scripted player played");
    case ReplayVerb::Verify:
    case ReplayVerb::Analyze:
      return VerifyReplayFiles(command->files, command->cpuLimit, "zimbrel-replay",
                               command->verb == ReplayVerb::Analyze);
    case ReplayVerb::Watch:
      return Watch(*command);
    case ReplayVerb::Soak:
      return Soak(*command);
    case ReplayVerb::Help:
      ShowHelp();
      return 0;
    case ReplayVerb::Version:
      std::printf("zimbrel-replay %s\n", ProgramVersion().c_str());
      return 0;
  }
  return kRefused;
}

}  // namespace

int main(int argc, char** argv) {
  const int status = Run(argc, argv);
  // What was said on standard output must have reached it: a full disk is a failure too.
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    const int reason = errno;
    SayFault(std::string("standard output: cannot be written (") + std::strerror(reason) + ")");
    return status == 0 ? kRefused : status;
  }
  return status;
}
