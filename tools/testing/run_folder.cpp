#include "run_folder.h"

#include <cstdlib>
#include <string>

namespace fs = std::filesystem;

fs::path EnterRunFolder(const std::set<std::string>& leftOut) {
  std::string pattern = (fs::temp_directory_path() / "zimbrel-run-XXXXXX").string();
  fs::path folder = mkdtemp(pattern.data());
  for (const char* sub : {"gfx", "snd"}) {
    fs::create_directory(folder / sub);
    for (const auto& entry : fs::directory_iterator(fs::path(ZIMBREL_RUN_DIR) / sub)) {
      std::string relative = std::string(sub) + "/" + entry.path().filename().string();
      if (!leftOut.count(relative)) fs::create_symlink(entry.path(), folder / relative);
    }
  }
  fs::current_path(folder);
  return folder;
}
