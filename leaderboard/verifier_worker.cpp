#include "leaderboard/verifier_worker.h"

#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cstdio>

#include "leaderboard/worker_process.h"
#include "replay/proof_check.h"
#include "replay/proof_json.h"

namespace {

// To the credits and back, then out through the exit picture: every sprite and sound the game
// loads at its start, and the pictures of three screens.
constexpr char kWalkThroughTheMenus[] =
    "zimbrel-replay 1\n0 0 mouse 230 215 0 0\n2 0 mouse 0 0 1 0\n2 1 mouse 0 0 0 0\n"
    "10 0 keys 1\n10 1 keys\n14 0 mouse -215 0 0 0\n16 0 mouse 0 0 1 0\n16 1 mouse 0 0 0 0\n"
    "18 0 mouse 0 0 1 0\n18 1 mouse 0 0 0 0\n";

}  // namespace

std::string CheckingFault(const std::filesystem::path& data) {
  ProofCheckLimits limits;
  limits.dataFolder = data.string();
  const ProofVerdict walk = CheckProof(kWalkThroughTheMenus, "the start-up check", limits);
  return walk.outcome == ProofOutcome::Proven ? "" : walk.reason;
}

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
  return CheckProofsWarm(
      limits, [] { return ReadMessage(STDIN_FILENO); },
      [](const ProofVerdict& verdict) { return WriteMessage(STDOUT_FILENO, JsonText(ProofVerdictJson(verdict))); });
}
