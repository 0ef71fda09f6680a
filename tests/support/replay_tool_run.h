// zimbrel-replay (or zimbrel-verify) run in a process of its own, in the working folder, as a player runs it.
#pragma once

#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/file_bytes.h"

using ReplayToolRun = FinishedRun;

ReplayToolRun RunReplayTool(const std::vector<std::string>& arguments);
// zimbrel-verify, the same way: verify's arguments, over the null platform.
ReplayToolRun RunRulesOnlyVerifier(const std::vector<std::string>& arguments);

// A score as verify says it, grouped by thousands: "12,400".
std::string ShownScore(long long score);
