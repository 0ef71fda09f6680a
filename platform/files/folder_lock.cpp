#include "platform/files/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "platform/session/ending_signals.h"

namespace {

// Another game holds the lock only while it reads, merges and writes 400 bytes: far less than
// these, unless it hangs. A session that is ending waits less, so the game still ends at once.
constexpr long kWaitMilliseconds = 3000;
constexpr long kEndingWaitMilliseconds = 300;
constexpr long kRetryMilliseconds = 5;

long MillisecondsSince(const timespec& start) {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return (now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000;
}

}  // namespace

int LockFolder(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return -1;
  timespec start{};
  clock_gettime(CLOCK_MONOTONIC, &start);
  for (;;) {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) return fd;
    const int fault = errno;
    const long limit = SessionEnding() ? kEndingWaitMilliseconds : kWaitMilliseconds;
    if ((fault != EWOULDBLOCK && fault != EINTR) || MillisecondsSince(start) >= limit) {
      close(fd);
      errno = fault;
      return -1;
    }
    const timespec pause{0, kRetryMilliseconds * 1000000};
    nanosleep(&pause, nullptr);
  }
}

void UnlockFolder(int lock) {
  if (lock < 0) return;
  flock(lock, LOCK_UN);
  close(lock);
}
