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
// table it started from, as the replay's own text writes them. Two proofs of one session share
// it; comments and the end do not count. All of a proof's games in one pass over its lines.
std::vector<std::string> GameKeys(const Replay& replay, const std::vector<ProvenGame>& games) {
  Sha256 text;
  text.Add(ReplayHeaderText());
  if (replay.table) text.Add(ReplayTableText(*replay.table));
  std::vector<std::string> keys;
  size_t line = 0;
  for (const ProvenGame& game : games) {
    for (; line < replay.lines.size() && replay.lines[line].at.flip <= game.flip; ++line) {
      text.Add(ReplayLineText(replay.lines[line]));
    }
    keys.push_back(text.HexSoFar());
  }
  return keys;
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
  const std::vector<std::string> keys = GameKeys(*ParseReplay(text, "proof", &error), checked.games);
  for (size_t i = 0; i < keys.size(); ++i) {
    const ProvenGame& proven = checked.games[i];
    GameToKeep game;
    game.key = keys[i];
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
