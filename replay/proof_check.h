// Checking a kept game: its replay played again with the rules only (nothing drawn), its clock
// judged, and the games it enters in the highscore table held against what its comment lines
// claim. The entry point for zimbrel-replay verify and for a server that ranks proven scores.
//
// The game's records are process-wide, so the game cannot run twice in one process: where the
// system can fork (not in a browser's build), each check plays the replay in a child process of
// its own, which exits when it is done. Checks may follow one another in one process, from one
// thread at a time; a crash or the CPU-time cap costs only that check. Forking copies only the
// calling thread, so call it from a process whose other threads hold no lock the child needs
// (the C library's, SDL's): a single-threaded worker process is the safe place. Without fork,
// one check runs in the process itself, once; a second is refused.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "replay/proof.h"

// The game keeps a game only within this many flips of its proof's start (two hours at 60 a
// second): a check costs CPU by the flip, so a proof with a line or an end past it is no kept
// game's and is refused before it is played.
constexpr uint64_t kMostFlipsOfAProof = 432000;

struct ProofCheckLimits {
  std::string dataFolder = ".";  // the folder with the game's gfx/ and snd/
  double cpuSeconds = 30;        // CPU time the replay may take; past it, not proven
};

enum class ProofOutcome {
  Proven,      // it plays to its end and enters the games it claims (or claims none)
  NotProven,   // it plays otherwise, its clock is implausible, or it ran past its cap
  Unreadable,  // larger than a replay may be, or not a replay: nothing was run
  CheckFailed, // the checker's own fault (no process, no scratch folder, a game file it could
               // not read): it says nothing of the replay
  // A server's verifiers only:
  Crashed,     // the verifier died while it checked: its fault, or the proof's, unknown
  Stopping,    // the server stopped before the check came or ended
};

struct ProofVerdict {
  ProofOutcome outcome = ProofOutcome::Unreadable;
  std::vector<ProvenGame> games;  // the games the replay entered in the table, as played
  bool claimsGames = false;       // it claims at least one game
  std::string reason;             // "NAME:LINE: why" (or "NAME: why"); empty when proven
  double cpuSeconds = 0;          // what the check's process took
};

// Checks the replay `text`; `name` names it in every reason (a file's path, a submission).
ProofVerdict CheckProof(const std::string& text, const std::string& name,
                        const ProofCheckLimits& limits);

// A process that checks one proof after another, warm: the game is started once, as every
// check would start it, up to its first read; each proof is then played on from there in a copy
// of the process forked for it, under the cap, with the proof's table put in place. The
// verdicts are CheckProof's, each proof named "proof". Runs until `next` gives nothing or
// `answer` returns false; forks, so call it from a single-threaded process. Not in a browser's
// build.
using ProofSource = std::function<std::optional<std::string>()>;
using VerdictSink = std::function<bool(const ProofVerdict&)>;
int CheckProofsWarm(const ProofCheckLimits& limits, const ProofSource& next, const VerdictSink& answer);
