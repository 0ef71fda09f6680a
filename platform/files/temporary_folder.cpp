#include "platform/files/temporary_folder.h"

#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <system_error>

namespace fs = std::filesystem;

namespace {

fs::path PatternOf(const std::string& stem, std::error_code& fault) {
  return fs::temp_directory_path(fault) / (stem + "-XXXXXX");
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
