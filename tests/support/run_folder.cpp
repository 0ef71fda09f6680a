#include "tests/support/run_folder.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/files/temporary_folder.h"

namespace fs = std::filesystem;

namespace {

// Every test runs in a process of its own: the folders it made go when the process ends.
struct MadeFolders {
  std::vector<fs::path> folders;
  ~MadeFolders() {
    std::error_code ignored;
    fs::current_path(fs::temp_directory_path(ignored), ignored);
    for (const fs::path& folder : folders) fs::remove_all(folder, ignored);
  }
};

MadeFolders& Made() {
  static MadeFolders made;
  return made;
}

}  // namespace

fs::path EnterRunFolder(const std::set<std::string>& leftOut) {
  std::string error;
  const std::optional<fs::path> made = MakeTemporaryFolder("zimbrel-run", &error);
  if (!made) throw std::runtime_error(error);  // the test stops, failed, with the reason
  const fs::path folder = *made;
  Made().folders.push_back(folder);
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
