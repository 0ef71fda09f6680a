#include "replay/proof_check.h"

#include <unistd.h>

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
#include "replay/replay_player.h"
#include "replay/scratch_folder.h"
#include "shell/win_main.h"

#if !defined(__EMSCRIPTEN__)
#include <sys/resource.h>
#include <sys/wait.h>
#define ZIMBREL_CHECKS_IN_A_CHILD 1
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
};

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

void NoteNamedGame(const NamedGame& game) { run.result.games.push_back(ProvenGameOf(game)); }

void HeedTheCap() {
  if (CpuSeconds() - run.startedCpu <= run.cpuSeconds) return;
  std::ostringstream why;
  why << "ran past its CPU-time cap of " << run.cpuSeconds << " s at flip " << PresentedFlipCount();
  throw ReplayStopped{why.str()};
}

FlipFloor FloorOf(ProofBuild build) {
  // A browser flips at the display's next refresh at least 13.7 ms after the last.
  return build == ProofBuild::Browser ? FlipFloor{137, 10} : FlipFloor{1000, 60};
}

// Plays the replay in the working folder, which holds nothing but what the run writes.
RunResult PlayWithTheRulesOnly(Replay replay, ProofBuild build, const ProofCheckLimits& limits) {
  run.cpuSeconds = limits.cpuSeconds;
  run.startedCpu = CpuSeconds();
  std::string error;
  if (!PlaceStartingTable(replay, &error)) return RunResult{{}, true, error, 0};
  SetGameDataFolder(fs::absolute(limits.dataFolder).c_str());
  HeadlessEnable();
  HeadlessDrawNothing();
  ReplayPlayerStart(std::move(replay), ReplayPlayerOptions{FloorOf(build)});
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
  return run.result;
}

#if ZIMBREL_CHECKS_IN_A_CHILD

// The result as the child hands it over: a line per game, then how the run ended.
std::string ResultText(const RunResult& result) {
  std::string text = ProofClaimsText("zimbrel", ThisBuild(), result.games);
  if (result.stopped) {
    text += "# stopped " + std::to_string(result.lineNumber) + " " +
            (result.implausible ? "1" : "0") + " " + result.why;
  }
  return text;
}

RunResult ReadResult(const std::string& text) {
  RunResult result;
  std::string error;
  if (const std::optional<ProofClaims> claims = ReadProofClaims(text, "", &error)) {
    result.games = claims->games;
  }
  const size_t stopped = text.find("# stopped ");
  if (stopped != std::string::npos) {
    std::istringstream rest(text.substr(stopped + 10));
    int implausible = 0;
    rest >> result.lineNumber >> implausible;
    result.implausible = implausible != 0;
    rest.get();
    std::getline(rest, result.why);
    result.stopped = true;
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
[[noreturn]] void RunInTheChild(int out, const fs::path& folder, Replay replay, ProofBuild build,
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
    result = RunResult{
        {}, true, folder.string() + ": cannot be entered (" + std::strerror(errno) + ")", 0};
  } else {
    result = PlayWithTheRulesOnly(std::move(replay), build, limits);
  }
  WriteAll(out, ResultText(result));
  _exit(0);
}

RunResult RunSomewhere(Replay replay, ProofBuild build, const ProofCheckLimits& limits) {
  std::string error;
  const std::optional<fs::path> folder = MakeTemporaryFolder("zimbrel-verify", &error);
  if (!folder) return RunResult{{}, true, error, 0};
  int channel[2];
  if (pipe(channel) != 0) {
    fs::remove_all(*folder);
    return RunResult{
        {}, true, std::string("no pipe to check in (") + std::strerror(errno) + ")", 0};
  }
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    close(channel[0]);
    RunInTheChild(channel[1], *folder, std::move(replay), build, limits);
  }
  close(channel[1]);
  const std::string text = child > 0 ? ReadAll(channel[0]) : "";
  close(channel[0]);
  int status = 0;
  while (child > 0 && waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  std::error_code ignored;
  fs::remove_all(*folder, ignored);
  if (child < 0)
    return RunResult{{}, true, std::string("cannot fork (") + std::strerror(errno) + ")", 0};
  if (WIFSIGNALED(status)) {
    const int signalNumber = WTERMSIG(status);
    const std::string why =
        signalNumber == SIGXCPU || signalNumber == SIGKILL
            ? "ran past its CPU-time cap"
            : std::string("the check crashed (") + strsignal(signalNumber) + ")";
    return RunResult{ReadResult(text).games, true, why, 0};
  }
  return ReadResult(text);
}

#else

RunResult RunSomewhere(Replay replay, ProofBuild build, const ProofCheckLimits& limits) {
  static bool ran = false;
  if (ran) return RunResult{{}, true, "this build checks one replay a run", 0};
  ran = true;
  std::string error;
  const std::optional<fs::path> folder = MakeTemporaryFolder("zimbrel-verify", &error);
  if (!folder) return RunResult{{}, true, error, 0};
  const fs::path before = fs::current_path();
  fs::current_path(*folder);
  const RunResult result = PlayWithTheRulesOnly(std::move(replay), build, limits);
  PlatformQuit();
  fs::current_path(before);
  std::error_code ignored;
  fs::remove_all(*folder, ignored);
  return result;
}

#endif

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
  const std::optional<ProofClaims> claims = ReadProofClaims(text, name, &verdict.reason);
  if (!claims) return verdict;
  verdict.claimsGames = !claims->games.empty();
  // A replay that says nothing of its build is judged by the shorter flip of the two.
  const ProofBuild build = claims->build.value_or(ProofBuild::Browser);
  const RunResult result = RunSomewhere(std::move(*replay), build, limits);
  verdict.games = result.games;
  verdict.outcome = ProofOutcome::NotProven;
  // A clock no game can have read says most; then games other than those claimed (a replay
  // changed by hand goes another way, and seldom to its end); then a replay that stops.
  const std::string stop =
      result.stopped ? name + (result.lineNumber ? ":" + std::to_string(result.lineNumber) : "") +
                           ": " + result.why
                     : "";
  if (result.implausible) {
    verdict.reason = stop;
    return verdict;
  }
  if (verdict.claimsGames) verdict.reason = ClaimsFault(*claims, result.games, name);
  if (verdict.reason.empty()) verdict.reason = stop;
  if (verdict.reason.empty()) verdict.outcome = ProofOutcome::Proven;
  return verdict;
}
