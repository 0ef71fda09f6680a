#include "platform/files/temporary_folder.h"

#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// TMPDIR when it is set; else memory, where the system keeps a folder of it: a check makes and
// removes a folder each time, which costs a disk's file system far more.
fs::path TemporaryRoot(std::error_code& fault) {
  const char* chosen = getenv("TMPDIR");
  if ((chosen == nullptr || *chosen == '\0') && access("/dev/shm", W_OK | X_OK) == 0) return "/dev/shm";
  return fs::temp_directory_path(fault);
}

fs::path PatternOf(const std::string& stem, std::error_code& fault) {
  return TemporaryRoot(fault) / (stem + "-XXXXXX");
}

}  // namespace

std::optional<fs::path> MakeTemporaryFolder(const std::string& stem, std::string* error) {
  std::error_code fault;
  const std::string pattern = PatternOf(stem, fault).string();
  std::string name = pattern;
  if (!fault && mkdtemp(name.data()) != nullptr) return fs::path(name);
  if (error) {
    const std::string reason = fault ? fault.message() : std::strerror(errno);
    *error = pattern + ": cannot make a temporary folder (" + reason + ")";
  }
  return std::nullopt;
}
