#include "platform/files/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

int LockFolder(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return -1;
  int locked;
  do {
    locked = flock(fd, LOCK_EX);
  } while (locked != 0 && errno == EINTR);
  if (locked != 0) {
    const int fault = errno;
    close(fd);
    errno = fault;
    return -1;
  }
  return fd;
}

void UnlockFolder(int lock) {
  if (lock < 0) return;
  flock(lock, LOCK_UN);
  close(lock);
}
