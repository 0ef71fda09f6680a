#include "leaderboard/verifier_worker.h"

#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cstdio>

#include "leaderboard/sha256.h"
#include "leaderboard/verifier_pool.h"
#include "leaderboard/worker_process.h"
#include "replay/proof_check.h"
#include "replay/replay_file.h"

namespace {

// What tells a game from every other: the replay up to the flip its name was complete, with the
// table it started from. Two proofs of one session share it; comments and the end do not count.
std::string GameKey(const Replay& replay, uint64_t flip) {
  Replay prefix;
  prefix.table = replay.table;
  for (const ReplayLine& line : replay.lines) {
    if (line.at.flip <= flip) prefix.lines.push_back(line);
  }
  return Sha256Hex(FormatReplay(prefix));
}

Verdict Check(const std::string& text, const ProofCheckLimits& limits) {
  const ProofVerdict checked = CheckProof(text, "proof", limits);
  Verdict verdict;
  verdict.reason = checked.reason;
  switch (checked.outcome) {
    case ProofOutcome::Unreadable: verdict.outcome = Verdict::Outcome::Unreadable; return verdict;
    case ProofOutcome::NotProven: verdict.outcome = Verdict::Outcome::NotProven; return verdict;
    case ProofOutcome::Proven: verdict.outcome = Verdict::Outcome::Proven; break;
  }
  std::string error;
  const std::optional<Replay> replay = ParseReplay(text, "proof", &error);
  for (const ProvenGame& proven : checked.games) {
    GameToKeep game;
    game.key = GameKey(*replay, proven.flip);
    game.game.name = proven.name;
    game.game.score = proven.score;
    game.game.swats = proven.swats;
    game.game.stage = proven.stage;
    game.game.flips = static_cast<int64_t>(proven.flip);
    verdict.games.push_back(std::move(game));
  }
  return verdict;
}

}  // namespace

std::vector<std::string> VerifierWorkerCommand(const std::filesystem::path& server,
                                               const std::filesystem::path& data, double cpuCap) {
  return {server.string(), kVerifierWorkerOption, data.string(), std::to_string(cpuCap)};
}

int RunVerifierWorker(const std::vector<std::string>& arguments) {
  if (arguments.size() != 2) {
    std::fprintf(stderr, "zimbrel-leaderboard: %s takes the data folder and the CPU cap\n", kVerifierWorkerOption);
    return 2;
  }
  // Gone with the server, whatever way it ends.
  const pid_t server = getppid();
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != server) return 0;
  ProofCheckLimits limits;
  limits.dataFolder = arguments[0];
  limits.cpuSeconds = std::stod(arguments[1]);
  while (const std::optional<std::string> proof = ReadMessage(STDIN_FILENO)) {
    if (!WriteMessage(STDOUT_FILENO, VerdictText(Check(*proof, limits)))) return 0;
  }
  return 0;
}
