#include "replay/proof_check.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <optional>
#include <sstream>

#include "platform/files/game_data_folder.h"
#include "platform/files/temporary_folder.h"
#include "platform/sdl/platform_quit.h"
#include "platform/seams/flip_observer.h"
#include "platform/seams/game_named.h"
#include "platform/seams/headless.h"
#include "platform/win32/win.h"
#include "replay/play_key.h"
#include "replay/replay_player.h"
#include "replay/scratch_folder.h"
#include "shell/win_main.h"

#if !defined(__EMSCRIPTEN__)
#include <sys/resource.h>
#include <sys/wait.h>
#define ZIMBREL_CHECKS_IN_A_CHILD 1
#include "replay/proof_json.h"
#endif

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace fs = std::filesystem;

namespace {

// What one run of the replay gave.
struct RunResult {
  std::vector<ProvenGame> games;
  bool stopped = false;
  std::string why;
  int lineNumber = 0;
  bool implausible = false;  // stopped by its clock
  bool checkFailed = false;  // the checker's fault, not the replay's
  double cpuSeconds = 0;
};

RunResult CheckFailed(const std::string& why) { return RunResult{{}, true, why, 0, false, true, 0}; }

// The run's own records: the games named, and the CPU time it may take.
struct Run {
  RunResult result;
  double cpuSeconds = 0;
  double startedCpu = 0;
};
Run run;

double CpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

void NoteNamedGame(const NamedGame& named) {
  ProvenGame game = ProvenGameOf(named);
  game.key = PlayKeyOfLastGame();
  run.result.games.push_back(std::move(game));
}

void HeedTheCap() {
  if (CpuSeconds() - run.startedCpu <= run.cpuSeconds) return;
  std::ostringstream why;
  why << "ran past its CPU-time cap of " << run.cpuSeconds << " s at flip " << PresentedFlipCount();
  throw ReplayStopped{why.str()};
}

// Plays the replay in the working folder, which holds nothing but what the run writes.
RunResult PlayWithTheRulesOnly(Replay replay, const ProofCheckLimits& limits) {
  run.cpuSeconds = limits.cpuSeconds;
  run.startedCpu = CpuSeconds();
  std::string error;
  if (!PlaceStartingTable(replay, &error)) return CheckFailed(error);
  SetGameDataFolder(fs::absolute(limits.dataFolder).c_str());
  HeadlessEnable();
  HeadlessDrawNothing();
  PlayKeyStart();
  ReplayPlayerStart(std::move(replay), ReplayPlayerOptions{true, PlayKeyHear, PlayKeyAtStart});
  AddGameNamedObserver(NoteNamedGame);
  AddFlipObserver(HeedTheCap);
  try {
    char commandLine[] = "";
    WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, 1);
  } catch (const ReplayStopped& stopped) {
    run.result.stopped = true;
    run.result.why =
        stopped.implausible ? stopped.why : stopped.why + "; it does not bring the game to its end";
    run.result.lineNumber = stopped.lineNumber;
    run.result.implausible = stopped.implausible;
  }
  if (!FirstUnreadableGameFile().empty()) {
    run.result = CheckFailed("the game's file " + FirstUnreadableGameFile() +
                             " cannot be read, so nothing was checked");
  }
  return run.result;
}

#if ZIMBREL_CHECKS_IN_A_CHILD

// The result as the child hands it over.
std::string ResultText(const RunResult& result) {
  nlohmann::json games = nlohmann::json::array();
  for (const ProvenGame& game : result.games) games.push_back(ProvenGameJson(game));
  return JsonText({{"games", games},
                   {"stopped", result.stopped},
                   {"why", result.why},
                   {"line", result.lineNumber},
                   {"implausible", result.implausible},
                   {"checkFailed", result.checkFailed}});
}

RunResult ReadResult(const std::string& text) {
  RunResult result;
  try {
    const nlohmann::json given = nlohmann::json::parse(text);
    for (const auto& game : given.at("games")) result.games.push_back(ProvenGameOf(game));
    result.stopped = given.at("stopped");
    result.why = given.at("why");
    result.lineNumber = given.at("line");
    result.implausible = given.at("implausible");
    result.checkFailed = given.at("checkFailed");
  } catch (const nlohmann::json::exception&) {
    result = CheckFailed("the check gave no answer");
  }
  return result;
}

std::string ReadAll(int fd) {
  std::string text;
  char block[4096];
  for (;;) {
    const ssize_t got = read(fd, block, sizeof block);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return text;
    text.append(block, static_cast<size_t>(got));
  }
}

void WriteAll(int fd, const std::string& text) {
  for (size_t done = 0; done < text.size();) {
    const ssize_t wrote = write(fd, text.data() + done, text.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return;
    done += static_cast<size_t>(wrote);
  }
}

// The child: the game once, in the scratch folder, then gone without running anything of the
// parent's (no exit handlers, no flushing of its buffers).
[[noreturn]] void RunInTheChild(int out, const fs::path& folder, Replay replay,
                                const ProofCheckLimits& limits) {
  // The cap heeded at every flip; the kernel's, a little later, where a flip never comes.
  const auto hardCap = static_cast<rlim_t>(limits.cpuSeconds) + 2;
  const rlimit cpu{hardCap, hardCap + 1};
  setrlimit(RLIMIT_CPU, &cpu);
#if defined(__GLIBC__)
  // Pictures freed and loaded again reuse their memory instead of faulting it in anew.
  mallopt(M_MMAP_THRESHOLD, 64 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
  std::signal(SIGPIPE, SIG_IGN);
  RunResult result;
  if (chdir(folder.c_str()) != 0) {
    result = CheckFailed(folder.string() + ": cannot be entered (" + std::strerror(errno) + ")");
  } else {
    result = PlayWithTheRulesOnly(std::move(replay), limits);
  }
  WriteAll(out, ResultText(result));
  _exit(0);
}

RunResult RunSomewhere(Replay replay, const ProofCheckLimits& limits) {
  std::string error;
  const std::optional<fs::path> folder = MakeTemporaryFolder("zimbrel-verify", &error);
  if (!folder) return CheckFailed(error);
  int channel[2];
  if (pipe(channel) != 0) {
    fs::remove_all(*folder);
    return CheckFailed(std::string("no pipe to check in (") + std::strerror(errno) + ")");
  }
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    close(channel[0]);
    RunInTheChild(channel[1], *folder, std::move(replay), limits);
  }
  close(channel[1]);
  const std::string text = child > 0 ? ReadAll(channel[0]) : "";
  close(channel[0]);
  int status = 0;
  rusage usage{};
  while (child > 0 && wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  const double cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                     static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  std::error_code ignored;
  fs::remove_all(*folder, ignored);
  if (child < 0) return CheckFailed(std::string("cannot fork (") + std::strerror(errno) + ")");
  if (WIFSIGNALED(status)) {
    const int signalNumber = WTERMSIG(status);
    const std::string why =
        signalNumber == SIGXCPU || signalNumber == SIGKILL
            ? "ran past its CPU-time cap"
            : std::string("the check crashed (") + strsignal(signalNumber) + ")";
    return RunResult{{}, true, why, 0, false, false, cpu};
  }
  RunResult result = ReadResult(text);
  result.cpuSeconds = cpu;
  return result;
}

#else

RunResult RunSomewhere(Replay replay, const ProofCheckLimits& limits) {
  static bool ran = false;
  if (ran) return CheckFailed("this build checks one replay a run");
  ran = true;
  std::string error;
  const std::optional<fs::path> folder = MakeTemporaryFolder("zimbrel-verify", &error);
  if (!folder) return CheckFailed(error);
  const fs::path before = fs::current_path();
  fs::current_path(*folder);
  const RunResult result = PlayWithTheRulesOnly(std::move(replay), limits);
  PlatformQuit();
  fs::current_path(before);
  std::error_code ignored;
  fs::remove_all(*folder, ignored);
  return result;
}

#endif

// Where a replay first asks for more flips than a kept game can have, from its start (the
// program's, or its game's Play click); "" when it does not.
std::string PastTheLongestGame(const Replay& replay, const std::string& name) {
  const uint64_t start = replay.start ? replay.start->flip : 0;
  const auto past =
      std::find_if(replay.lines.begin(), replay.lines.end(),
                   [&](const ReplayLine& line) { return line.at.flip - start > kMostFlipsOfAProof; });
  uint64_t flip = 0;
  int line = 0;
  if (past != replay.lines.end()) {
    flip = past->at.flip;
    line = past->lineNumber;
  } else if (replay.endFlip && *replay.endFlip - start > kMostFlipsOfAProof) {
    flip = *replay.endFlip;
    line = replay.endLineNumber;
  } else {
    return "";
  }
  const std::string after =
      replay.start ? " after its start at flip " + Grouped(static_cast<int64_t>(start)) : "";
  return name + ":" + std::to_string(line) + ": flip " + Grouped(static_cast<int64_t>(flip)) +
         " lies past the " + Grouped(kMostFlipsOfAProof) + " flips (two hours at 60 a second)" +
         after + " within which the game keeps a game";
}

}  // namespace

ProofVerdict CheckProof(const std::string& text, const std::string& name,
                        const ProofCheckLimits& limits) {
  ProofVerdict verdict;
  if (text.size() > static_cast<size_t>(kLargestReplayBytes)) {
    verdict.reason = name + ": " + std::to_string(text.size()) +
                     " bytes, more than a replay may hold (" + std::to_string(kLargestReplayBytes) +
                     " bytes)";
    return verdict;
  }
  std::optional<Replay> replay = ParseReplay(text, name, &verdict.reason);
  if (!replay) return verdict;
  if (const std::string past = PastTheLongestGame(*replay, name); !past.empty()) {
    verdict.outcome = ProofOutcome::NotProven;
    verdict.reason = past;
    return verdict;
  }
  const std::optional<ProofClaims> claims = ReadProofClaims(text, name, &verdict.reason);
  if (!claims) return verdict;
  verdict.claimsGames = !claims->games.empty();
  const RunResult result = RunSomewhere(std::move(*replay), limits);
  verdict.cpuSeconds = result.cpuSeconds;
  verdict.games = result.games;
  verdict.outcome = ProofOutcome::NotProven;
  // A clock no game can have read says most; then games other than those claimed (a replay
  // changed by hand goes another way, and seldom to its end); then a replay that stops.
  const std::string stop =
      result.stopped ? name + (result.lineNumber ? ":" + std::to_string(result.lineNumber) : "") +
                           ": " + result.why
                     : "";
  if (result.checkFailed) {
    verdict.outcome = ProofOutcome::CheckFailed;
    verdict.reason = name + ": " + result.why;
    return verdict;
  }
  if (result.implausible) {
    verdict.reason = stop;
    return verdict;
  }
  if (verdict.claimsGames) verdict.reason = ClaimsFault(*claims, result.games, name);
  if (verdict.reason.empty()) verdict.reason = stop;
  if (verdict.reason.empty()) verdict.outcome = ProofOutcome::Proven;
  return verdict;
}
