// A proven game as the leaderboard keeps it, and a verified proof on its way into the store.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct KeptGame {
  int64_t id = 0;  // given by the store
  std::string name;
  int32_t score = 0;
  std::array<int32_t, 8> swats{};  // swats by targets hit: 0 to 6, and 7 or more
  int32_t stage = 0;               // the stage the game reached
  int64_t flips = 0;               // flips presented when its name was complete
  int64_t receivedAt = 0;          // seconds since 1970 (UTC) when its proof came
  bool operator==(const KeptGame&) const = default;
};

// A game a verified proof brings, with what tells it from every other game: the hash of the
// session's replay up to its end, so that the proofs a session keeps one after another, each
// with every game named so far, bring each game once.
struct GameToKeep {
  KeptGame game;
  std::string key;
};

struct ProofToKeep {
  std::string hash;  // of the proof's text, as it came
  std::string text;
  int64_t receivedAt = 0;
  std::vector<GameToKeep> games;
};
