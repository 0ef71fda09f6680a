// One verifier: a process of its own that the pool starts with the server's own program, which
// takes proofs one at a time on its standard input and answers each verdict on its standard
// output (leaderboard/worker_process.h says how a message goes). The game's records are
// process-wide: each check plays in a child process of the worker's (replay/proof_check.h),
// under the CPU cap.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

constexpr char kVerifierWorkerOption[] = "--verifier-worker";

std::vector<std::string> VerifierWorkerCommand(const std::filesystem::path& server,
                                               const std::filesystem::path& data, double cpuCap);
// Why no proof could be checked with the game's files in `data` (the first it cannot read), or
// "" when a walk through the title, the credits and the exit checks there. Forks: call it
// before any thread starts.
std::string CheckingFault(const std::filesystem::path& data);
// The worker's life, until its input ends; the arguments after kVerifierWorkerOption.
int RunVerifierWorker(const std::vector<std::string>& arguments);
