// zimbrel-replay run in a process of its own, in the working folder, as a player runs it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tests/support/file_bytes.h"

struct ReplayToolRun {
  std::optional<int> exitCode;  // nothing when it ran out of time
  std::string output;
  std::string errors;
};

ReplayToolRun RunReplayTool(const std::vector<std::string>& arguments);
