// Checking replay files one after another, as `zimbrel-replay verify` and `zimbrel-verify` say
// it: each file's games and its verdict on standard output, a fault on standard error after
// the program's name.
#pragma once

#include <string>
#include <vector>

constexpr int kNotProven = 1;   // a file does not prove what it claims
constexpr int kUnreadable = 2;  // a file cannot be read as a replay, or could not be checked

// Every file, whatever the one before it gave; the worst status is returned. `showPlay` adds,
// after each game, how it was played and whether a leaderboard's review holds it (analyze).
int VerifyReplayFiles(const std::vector<std::string>& files, double cpuSeconds,
                      const char* program, bool showPlay = false);
