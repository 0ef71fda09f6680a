#include "replay/proof_check.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <optional>
#include <sstream>

#include "platform/files/atomic_file.h"
#include "platform/files/game_data_folder.h"
#include "platform/files/temporary_folder.h"
#include "platform/sdl/kept_pictures.h"
#include "platform/sdl/platform_quit.h"
#include "platform/seams/flip_observer.h"
#include "platform/seams/game_named.h"
#include "platform/seams/headless.h"
#include "platform/win32/win.h"
#include "replay/play_figures.h"
#include "replay/play_key.h"
#include "replay/replay_player.h"
#include "replay/scratch_folder.h"
#include "scores/highscore_file.h"
#include "shell/win_main.h"

#if !defined(__EMSCRIPTEN__)
#include <sys/resource.h>
#include <sys/time.h>
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
  bool capArmed = false;  // the kernel says when the cap is passed
};
Run run;
volatile std::sig_atomic_t capPassed = 0;

double CpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

void NoteNamedGame(const NamedGame& named) {
  ProvenGame game = ProvenGameOf(named);
  game.key = PlayKeyOfLastGame();
  game.play = PlayFiguresOfLastGame();
  run.result.games.push_back(std::move(game));
}

void HearAnswer(const ReplayLine& answer) {
  PlayKeyHear(answer);
  PlayFiguresHear(answer);
}

// A timer on the process's CPU time raises a flag when the cap is passed, so that no flip pays
// a system call to read the clock; where there is no such timer (the browser), each flip reads it.
bool ArmTheCap(double seconds) {
#if ZIMBREL_CHECKS_IN_A_CHILD
  capPassed = 0;
  struct sigaction action {};
  action.sa_handler = [](int) { capPassed = 1; };
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  // A whole microsecond at least: a zero timer would never go off.
  const double wait = std::clamp(seconds, 1e-6, 1e8);
  itimerval when{};
  when.it_value.tv_sec = static_cast<time_t>(wait);
  when.it_value.tv_usec = static_cast<suseconds_t>((wait - static_cast<double>(when.it_value.tv_sec)) * 1e6);
  if (when.it_value.tv_sec == 0 && when.it_value.tv_usec == 0) when.it_value.tv_usec = 1;
  return sigaction(SIGPROF, &action, nullptr) == 0 && setitimer(ITIMER_PROF, &when, nullptr) == 0;
#else
  (void)seconds;
  return false;
#endif
}

void HeedTheCap() {
  if (!capPassed && (run.capArmed || CpuSeconds() - run.startedCpu <= run.cpuSeconds)) return;
  std::ostringstream why;
  why << "ran past its CPU-time cap of " << run.cpuSeconds << " s at flip " << PresentedFlipCount();
  throw ReplayStopped{why.str()};
}

// What every check's process sets once, before the game starts: the game's files, the headless
// platform drawing nothing, and no flushing of the table it saves in its scratch folder.
void PrepareTheRulesOnly(const ProofCheckLimits& limits) {
  SetGameDataFolder(fs::absolute(limits.dataFolder).c_str());
  WriteWithoutFlushing();
  HeadlessEnable();
  HeadlessDrawNothing();
}

// What one check attaches to the game for its replay, before the game's first read of it.
void AttachTheReplay(Replay replay, const ProofCheckLimits& limits) {
  run.cpuSeconds = limits.cpuSeconds;
  run.startedCpu = CpuSeconds();
  run.capArmed = ArmTheCap(limits.cpuSeconds);
  PlayKeyStart();
  PlayFiguresStart();
  ReplayPlayerStart(std::move(replay), ReplayPlayerOptions{true, HearAnswer, PlayKeyAtStart});
  AddGameNamedObserver(NoteNamedGame);
  AddFlipObserver(HeedTheCap);
}

// Runs the game from its start, or on from where a warm copy of it was made, to its end.
RunResult RunTheGame() {
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

// Plays the replay in the working folder, which holds nothing but what the run writes.
RunResult PlayWithTheRulesOnly(Replay replay, const ProofCheckLimits& limits) {
  std::string error;
  if (!PlaceStartingTable(replay, &error)) return CheckFailed(error);
  PrepareTheRulesOnly(limits);
  AttachTheReplay(std::move(replay), limits);
  return RunTheGame();
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

void CapTheChild(const ProofCheckLimits& limits) {
  // The cap heeded at every flip; the kernel's, a little later, where a flip never comes.
  const auto hardCap = static_cast<rlim_t>(limits.cpuSeconds) + 2;
  const rlimit cpu{hardCap, hardCap + 1};
  setrlimit(RLIMIT_CPU, &cpu);
  std::signal(SIGPIPE, SIG_IGN);
}

void ReuseFreedMemory() {
#if defined(__GLIBC__)
  // Pictures freed and loaded again reuse their memory instead of faulting it in anew.
  mallopt(M_MMAP_THRESHOLD, 64 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
}

// A check's child process, forked with a pipe and a scratch folder of its own.
struct Checker {
  fs::path folder;
  pid_t child = -1;
  int result = -1;  // the parent's end of the pipe; the child's in the child
};

// Forks a checker: true in the child, already in its folder, with `result` its end of the pipe;
// false in the parent, or with `error` set when no child could be made.
bool ForkChecker(Checker* checker, std::string* error) {
  const std::optional<fs::path> folder = MakeTemporaryFolder("zimbrel-verify", error);
  if (!folder) return false;
  checker->folder = *folder;
  int channel[2];
  if (pipe(channel) != 0) {
    *error = std::string("no pipe to check in (") + std::strerror(errno) + ")";
    fs::remove_all(*folder);
    return false;
  }
  std::fflush(nullptr);
  checker->child = fork();
  if (checker->child == 0) {
    close(channel[0]);
    checker->result = channel[1];
    if (chdir(folder->c_str()) != 0) {
      WriteAll(checker->result,
               ResultText(CheckFailed(folder->string() + ": cannot be entered (" + std::strerror(errno) + ")")));
      _exit(0);
    }
    return true;
  }
  close(channel[1]);
  checker->result = channel[0];
  if (checker->child < 0) *error = std::string("cannot fork (") + std::strerror(errno) + ")";
  return false;
}

// The child's last step: its result to the parent, then gone without running anything of the
// parent's (no exit handlers, no flushing of its buffers).
[[noreturn]] void HandOver(int out, const RunResult& result) {
  WriteAll(out, ResultText(result));
  _exit(0);
}

// The parent's side: the child's result once it has gone, and its folder removed.
RunResult Collect(const Checker& checker) {
  const std::string text = checker.child > 0 ? ReadAll(checker.result) : "";
  close(checker.result);
  int status = 0;
  rusage usage{};
  while (checker.child > 0 && wait4(checker.child, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  const double cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                     static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  std::error_code ignored;
  fs::remove_all(checker.folder, ignored);
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

RunResult RunSomewhere(Replay replay, const ProofCheckLimits& limits) {
  Checker checker;
  std::string error;
  if (ForkChecker(&checker, &error)) {
    CapTheChild(limits);
    ReuseFreedMemory();
    HandOver(checker.result, PlayWithTheRulesOnly(std::move(replay), limits));
  }
  if (checker.child < 0) return CheckFailed(error);
  return Collect(checker);
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

namespace {

// A proof read and found worth running: its replay and what it claims; or the verdict that
// ends it unrun.
struct ProofToRun {
  std::optional<Replay> replay;
  ProofClaims claims;
  ProofVerdict verdict;
};

ProofToRun ReadProofToRun(const std::string& text, const std::string& name) {
  ProofToRun proof;
  ProofVerdict& verdict = proof.verdict;
  if (text.size() > static_cast<size_t>(kLargestReplayBytes)) {
    verdict.reason = name + ": " + std::to_string(text.size()) +
                     " bytes, more than a replay may hold (" + std::to_string(kLargestReplayBytes) +
                     " bytes)";
    return proof;
  }
  std::optional<Replay> replay = ParseReplay(text, name, &verdict.reason);
  if (!replay) return proof;
  if (const std::string past = PastTheLongestGame(*replay, name); !past.empty()) {
    verdict.outcome = ProofOutcome::NotProven;
    verdict.reason = past;
    return proof;
  }
  const std::optional<ProofClaims> claims = ReadProofClaims(text, name, &verdict.reason);
  if (!claims) return proof;
  proof.claims = *claims;
  verdict.claimsGames = !claims->games.empty();
  proof.replay = std::move(replay);
  return proof;
}

ProofVerdict Judge(const ProofToRun& proof, const RunResult& result, const std::string& name) {
  ProofVerdict verdict = proof.verdict;
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
  if (verdict.claimsGames) verdict.reason = ClaimsFault(proof.claims, result.games, name);
  if (verdict.reason.empty()) verdict.reason = stop;
  if (verdict.reason.empty()) verdict.outcome = ProofOutcome::Proven;
  return verdict;
}

}  // namespace

ProofVerdict CheckProof(const std::string& text, const std::string& name,
                        const ProofCheckLimits& limits) {
  ProofToRun proof = ReadProofToRun(text, name);
  if (!proof.replay) return proof.verdict;
  const RunResult result = RunSomewhere(std::move(*proof.replay), limits);
  return Judge(proof, result, name);
}

#if ZIMBREL_CHECKS_IN_A_CHILD

namespace {

// The warm process: where it gets its proofs and gives its verdicts, and, in a copy checking
// one, where that copy hands its result over.
struct Warm {
  const ProofCheckLimits* limits = nullptr;
  const ProofSource* next = nullptr;
  const VerdictSink* answer = nullptr;
  int childsResult = -1;  // set in a checking copy only
};
Warm warm;

// Leaves the game the warm process started and never goes on with.
struct NoMoreProofs {};

// At the game's first read, where a run's replay first answers: each proof is checked by a copy
// of the process made here, which puts the proof's table in place of the empty folder's, attaches
// the replay and goes on with the game. The process itself never goes on.
void CheckEachProofFromHere(YieldPoint) {
  HeadlessSetYieldHandler(nullptr);
  KeepGamePictures(GameDataPath("gfx"));
  while (const std::optional<std::string> text = (*warm.next)()) {
    ProofToRun proof = ReadProofToRun(*text, "proof");
    if (!proof.replay) {
      if (!(*warm.answer)(proof.verdict)) break;
      continue;
    }
    Checker checker;
    std::string error;
    if (ForkChecker(&checker, &error)) {
      warm.childsResult = checker.result;
      CapTheChild(*warm.limits);
      if (!PlaceStartingTable(*proof.replay, &error)) HandOver(checker.result, CheckFailed(error));
      LoadHighscores();  // the game read the table before this, from the empty folder
      AttachTheReplay(std::move(*proof.replay), *warm.limits);
      return;
    }
    const RunResult result = checker.child < 0 ? CheckFailed(error) : Collect(checker);
    if (!(*warm.answer)(Judge(proof, result, "proof"))) break;
  }
  throw NoMoreProofs{};
}

}  // namespace

int CheckProofsWarm(const ProofCheckLimits& limits, const ProofSource& next, const VerdictSink& answer) {
  warm = Warm{&limits, &next, &answer, -1};
  ReuseFreedMemory();
  std::string error;
  const std::optional<fs::path> folder = MakeTemporaryFolder("zimbrel-warm", &error);
  if (!folder || chdir(folder->c_str()) != 0) {
    std::fprintf(stderr, "zimbrel: no folder to start the checks in: %s\n", error.c_str());
    return 1;
  }
  PrepareTheRulesOnly(limits);
  HeadlessSetYieldHandler(CheckEachProofFromHere);
  RunResult result;
  try {
    result = RunTheGame();
  } catch (const NoMoreProofs&) {
    fs::remove_all(*folder);
    return 0;
  } catch (...) {
    if (warm.childsResult >= 0) std::abort();  // a crash of this check, not of the process
    throw;
  }
  if (warm.childsResult >= 0) HandOver(warm.childsResult, result);
  // The game ended before its first read: each proof is answered with the reason.
  if (!result.checkFailed) result = CheckFailed("the game ended before its first read");
  while (const std::optional<std::string> text = next()) {
    ProofToRun proof = ReadProofToRun(*text, "proof");
    if (!answer(proof.replay ? Judge(proof, result, "proof") : proof.verdict)) break;
  }
  fs::remove_all(*folder);
  return 0;
}

#endif
