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
