#include "replay/verify_files.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "platform/options/quoted_text.h"
#include "replay/play_figures.h"
#include "replay/proof_check.h"
#include "replay/replay_file.h"

int VerifyReplayFiles(const std::vector<std::string>& files, double cpuSeconds,
                      const char* program, bool showPlay) {
  const auto sayFault = [program](const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", program, ShownText(message).c_str());
  };
  int status = 0;
  ProofCheckLimits limits;
  limits.dataFolder = std::filesystem::current_path().string();
  limits.cpuSeconds = cpuSeconds;
  for (const std::string& file : files) {
    std::string text;
    std::string error;
    if (!ReadReplayText(file, &text, &error)) {
      sayFault(error);
      status = std::max(status, kUnreadable);
      continue;
    }
    const ProofVerdict verdict = CheckProof(text, file, limits);
    for (const ProvenGame& game : verdict.games) {
      std::printf("%s: %s\n", ShownText(file).c_str(), ShownGame(game).c_str());
      if (!showPlay) continue;
      const std::string hold = ReviewHold(game.play);
      std::printf("%s: %s played: %s\n%s: %s %s\n", ShownText(file).c_str(), game.name.c_str(),
                  ShownFigures(game.play).c_str(), ShownText(file).c_str(), game.name.c_str(),
                  hold.empty() ? "shows nothing no hand gives" : ("held for review: " + hold).c_str());
    }
    switch (verdict.outcome) {
      case ProofOutcome::Proven:
        std::printf("%s: %s\n", ShownText(file).c_str(),
                    verdict.claimsGames     ? "proves what it claims"
                    : verdict.games.empty() ? "claims no game and enters none in the table"
                                            : "claims no game; it proves the games above");
        break;
      case ProofOutcome::NotProven:
        sayFault(verdict.reason);
        status = std::max(status, kNotProven);
        break;
      case ProofOutcome::Unreadable:
      case ProofOutcome::CheckFailed:
      case ProofOutcome::Crashed:
      case ProofOutcome::Stopping:
        sayFault(verdict.reason);
        status = std::max(status, kUnreadable);
        break;
    }
    std::fflush(stdout);
  }
  return status;
}
