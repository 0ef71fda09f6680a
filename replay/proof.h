// A replay as the proof of its games: the games that entered the highscore table in it with
// their names complete, and the comment lines at its top that claim them (docs/replay.md).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/options/grouped_number.h"
#include "platform/seams/game_named.h"
#include "replay/play_figures.h"

struct ProvenGame {
  std::string name;  // as typed: three letters or digits
  int32_t score = 0;
  std::array<int32_t, 8> swats{};  // swats by targets hit: 0 to 6, and 7 or more
  int32_t stage = 0;               // the stage the game reached
  uint64_t flip = 0;               // flips presented when its name was complete
  std::string key;  // its play's identity (replay/play_key.h); "" where no check played it
  PlayFigures play;  // how it was played, as the check's run measured it
  bool operator==(const ProvenGame&) const = default;
};

// The game the highscore screen has just named, at the flip it was named.
ProvenGame ProvenGameOf(const NamedGame& named);

// Where the program that kept a replay ran; a proof's clock is judged by that build's shortest
// flip.
enum class ProofBuild { Desktop, Browser };
ProofBuild ThisBuild();
const char* BuildName(ProofBuild build);

struct ProofClaims {
  std::optional<ProofBuild> build;  // none: no program line
  std::vector<ProvenGame> games;
  std::vector<int> lineNumbers;  // of each game's claim
};

// The comment lines a kept replay begins with, right after its first line: the program that
// kept it and the build whose flips its clock keeps pace with, then one line for each game it
// proves.
std::string ProofClaimsText(const std::string& program, ProofBuild build,
                            const std::vector<ProvenGame>& games);

// The claims of a replay's first comment lines (those before its first line of another kind).
// Nothing, with "NAME:LINE: what is wrong", when a claim cannot be read.
std::optional<ProofClaims> ReadProofClaims(const std::string& text, const std::string& name,
                                           std::string* error);


// "K9A 1,200 swats 2,1,0,0,0,0,0,0 stage 1 flip 812", as verify shows a game.
std::string ShownGame(const ProvenGame& game);

// Why the games a replay proves are not the ones it claims ("NAME:LINE: ..."), or "" when they
// are.
std::string ClaimsFault(const ProofClaims& claims, const std::vector<ProvenGame>& proven,
                        const std::string& name);
