#include "platform/files/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "platform/seams/headless.h"
#include "platform/seams/save_observer.h"

namespace {

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The new file keeps the old one's permissions; a first file gets what the user's umask gives.
mode_t ModeFor(const char* path) {
  struct stat old;
  if (stat(path, &old) == 0) return old.st_mode & 07777;
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

bool WriteAll(int fd, const void* bytes, size_t size) {
  if (HeadlessStepFails("WriteTemporaryFile")) {
    errno = ENOSPC;
    return false;
  }
  const auto* next = static_cast<const unsigned char*>(bytes);
  while (size > 0) {
    const ssize_t written = write(fd, next, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    next += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

// The rename itself is made lasting by flushing the folder; a folder that cannot be opened
// for that (some file systems) still has the new file in place.
void FlushFolder(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// A folder, a FIFO or a device in the file's place is left as it is, never replaced.
bool NothingOrARegularFileAt(const char* path) {
  struct stat old;
  return stat(path, &old) != 0 ? errno == ENOENT : S_ISREG(old.st_mode);
}

}  // namespace

bool WriteFileAtomically(const char* path, const void* bytes, size_t size) {
  if (path == nullptr || (bytes == nullptr && size > 0) || !NothingOrARegularFileAt(path)) {
    return false;
  }
  const std::string folder = FolderOf(path);
  std::string temporary = folder + "/." + FileNameOf(path) + ".XXXXXX";
  if (HeadlessStepFails("CreateTemporaryFile")) return false;
  const int fd = mkstemp(temporary.data());
  if (fd < 0) return false;
  const bool written = fchmod(fd, ModeFor(path)) == 0 && WriteAll(fd, bytes, size) &&
                       !HeadlessStepFails("FlushTemporaryFile") && fsync(fd) == 0;
  const bool closed = close(fd) == 0;
  if (!written || !closed || HeadlessStepFails("RenameTemporaryFile") ||
      rename(temporary.c_str(), path) != 0) {
    unlink(temporary.c_str());
    return false;
  }
  FlushFolder(folder);
  NotifyFileSaved(path);
  return true;
}
