#include "tests/support/golden_replays.h"

#include <algorithm>

namespace fs = std::filesystem;

fs::path GoldenReplaysFolder() { return fs::path(ZIMBREL_SOURCE_DIR) / "tests" / "replays"; }

std::vector<std::string> GoldenReplayNames() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(GoldenReplaysFolder())) {
    if (entry.path().extension() == ".replay") names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string IdleTitle(int stretches, const std::string& comment) {
  std::string idle = "zimbrel-replay 1\n" + comment;
  for (int line = 0; line <= stretches; ++line) idle += std::to_string(line * 36000) + " 0 mouse 0 0 0 0\n";
  return idle + std::to_string(stretches * 36000) + " end\n";
}
