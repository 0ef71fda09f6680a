#include "platform/files/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <dirent.h>

#include <cerrno>
#include <ctime>
#include <cstdio>
#include <string>

#include "platform/files/link_target.h"
#include "platform/seams/headless.h"

namespace {

bool flushing = true;

// fsync, unless this process writes only to a folder thrown away after it.
int Flush(int fd) { return flushing ? fsync(fd) : 0; }

bool Failed(int reason) {
  errno = reason;
  return false;
}

// The new file keeps the old one's permissions; a first file gets what the user's umask gives,
// but always stays readable and writable by its owner, or the next start could not read the
// table back (a browser's C library starts with every bit masked).
mode_t ModeFor(const char* path) {
  struct stat old;
  if (stat(path, &old) == 0) return old.st_mode & 07777;
  const mode_t mask = umask(0);
  umask(mask);
  return (0666 & ~mask) | S_IRUSR | S_IWUSR;
}

bool WriteAll(int fd, const void* bytes, size_t size) {
  if (HeadlessStepFails("WriteTemporaryFile")) return Failed(ENOSPC);
  const auto* next = static_cast<const unsigned char*>(bytes);
  while (size > 0) {
    const ssize_t written = write(fd, next, size);
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return false;
    if (written == 0) return Failed(ENOSPC);
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
  Flush(fd);
  close(fd);
}

// A folder, a FIFO or a device in the file's place is left as it is, never replaced; so is a
// file without any write permission, which a player froze on purpose (root included).
bool MayReplace(const char* path) {
  struct stat old;
  if (stat(path, &old) != 0) return errno == ENOENT;
  if (!S_ISREG(old.st_mode)) {
    errno = S_ISDIR(old.st_mode) ? EISDIR : EINVAL;
    return false;
  }
  if ((old.st_mode & 0222) == 0) {
    errno = EACCES;
    return false;
  }
  // access() says why (a read-only mount's EROFS, or the bits that bind this user).
  return access(path, W_OK) == 0;
}

// A file with other names (hard links) is written over, so that every name sees the new
// bytes; a rename would give this name a new file and leave the others the old one.
bool HasOtherNames(const char* path) {
  struct stat old;
  return stat(path, &old) == 0 && old.st_nlink > 1;
}

// Writes the file over its own bytes, then cuts it to their length and flushes it: for a file
// with other names, and where the folder takes no new file but the file itself may be written.
bool WriteInPlace(const std::string& path, const void* bytes, size_t size) {
  const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return false;
  int reason = 0;
  if (!WriteAll(fd, bytes, size) || ftruncate(fd, static_cast<off_t>(size)) != 0 ||
      Flush(fd) != 0) {
    reason = errno;
  }
  if (close(fd) != 0 && reason == 0) reason = errno;
  if (reason != 0) return Failed(reason);
  return true;
}

// A folder the user may not write, or one marked immutable, refuses the temporary file.
bool FolderRefusedNewFile(int reason) { return reason == EACCES || reason == EPERM; }

// mkstemp's six characters: letters and digits.
bool IsTemporaryOf(const std::string& entry, const std::string& prefix) {
  if (entry.size() != prefix.size() + 6 || entry.compare(0, prefix.size(), prefix) != 0) {
    return false;
  }
  for (size_t i = prefix.size(); i < entry.size(); ++i) {
    const char c = entry[i];
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool WriteFileAtomically(const char* name, const void* bytes, size_t size) {
  if (name == nullptr || (bytes == nullptr && size > 0)) return Failed(EINVAL);
  const std::string path = LinkTarget(name);
  if (!MayReplace(path.c_str())) return false;
  if (HasOtherNames(path.c_str())) return WriteInPlace(path, bytes, size);
  const std::string folder = FolderOf(path);
  std::string temporary = folder + "/." + FileNameOf(path) + ".XXXXXX";
  if (HeadlessStepFails("CreateTemporaryFile")) return Failed(ENOSPC);
  int fd = -1;
  if (HeadlessStepFails("FolderRefusesNewFiles")) {
    errno = EACCES;
  } else {
    fd = mkstemp(temporary.data());
  }
  if (fd < 0) {
    const int reason = errno;
    if (FolderRefusedNewFile(reason) && access(path.c_str(), F_OK) == 0) {
      return WriteInPlace(path, bytes, size);
    }
    return Failed(reason);
  }
  int reason = 0;
  if (fchmod(fd, ModeFor(path.c_str())) != 0 || !WriteAll(fd, bytes, size)) {
    reason = errno;
  } else if (HeadlessStepFails("FlushTemporaryFile")) {
    reason = EIO;
  } else if (Flush(fd) != 0) {
    reason = errno;
  }
  if (close(fd) != 0 && reason == 0) reason = errno;
  if (reason == 0 && HeadlessStepFails("RenameTemporaryFile")) reason = EXDEV;
  if (reason == 0 && rename(temporary.c_str(), path.c_str()) != 0) reason = errno;
  if (reason != 0) {
    unlink(temporary.c_str());
    return Failed(reason);
  }
  FlushFolder(folder);
  return true;
}

void WriteWithoutFlushing() { flushing = false; }

void RemoveLeftoverTemporaries(const char* name, int ageSeconds) {
  if (name == nullptr) return;
  const std::string path = LinkTarget(name);
  const std::string folder = FolderOf(path);
  const std::string prefix = "." + FileNameOf(path) + ".";
  DIR* entries = opendir(folder.c_str());
  if (entries == nullptr) return;
  const time_t now = time(nullptr);
  while (const dirent* entry = readdir(entries)) {
    if (!IsTemporaryOf(entry->d_name, prefix)) continue;
    const std::string leftover = folder + "/" + entry->d_name;
    struct stat status;
    if (lstat(leftover.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
        now - status.st_mtime > ageSeconds) {
      unlink(leftover.c_str());
    }
  }
  closedir(entries);
}
