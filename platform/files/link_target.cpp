#include "platform/files/link_target.h"

#include <sys/stat.h>
#include <unistd.h>

#include <vector>

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string LinkTarget(const std::string& path) {
  std::string current = path;
  // As many links as the system itself follows; a loop ends on its last name, where the
  // save then fails with the system's own reason.
  for (int hop = 0; hop < 40; ++hop) {
    struct stat status;
    if (lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return current;
    std::vector<char> target(static_cast<size_t>(status.st_size > 0 ? status.st_size : 255) + 1);
    const ssize_t length = readlink(current.c_str(), target.data(), target.size());
    if (length <= 0 || static_cast<size_t>(length) >= target.size()) return current;
    const std::string next(target.data(), static_cast<size_t>(length));
    current = next.front() == '/' ? next : FolderOf(current) + "/" + next;
  }
  return current;
}
