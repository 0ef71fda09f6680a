// A proven game as the leaderboard keeps it, and a verified proof on its way into the store.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "replay/proof.h"

// The game as the check proved it (its key tells its play from every other), with what the
// store gives it.
struct KeptGame : ProvenGame {
  int64_t id = 0;          // given by the store
  int64_t receivedAt = 0;  // seconds since 1970 (UTC) when its first proof came
  std::string hiddenReason = "";  // why an operator took it off the table; "" while it is on it
  bool held = false;  // taken off by the server's review (hiddenReason says why), until restored
  bool operator==(const KeptGame&) const = default;
};

// The proofs a session keeps one after another each bring every game named so far: a game
// whose key a proof brought before is not kept again.
struct ProofToKeep {
  std::string hash;  // of the proof's text, as it came
  std::string text;
  int64_t receivedAt = 0;
  std::vector<ProvenGame> games;
  std::vector<std::string> holds;  // for each game, why it is held for review; "" or none: it is not
};
