#include "platform/files/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

int OpenRegularFile(const char* path) {
  if (path == nullptr) {
    errno = EINVAL;
    return -1;
  }
  // Not blocking: opening a FIFO for reading would wait for a writer.
  const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat status;
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    const int fault = S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
    close(fd);
    errno = fault;
    return -1;
  }
  // O_NONBLOCK stays: a regular file reads the same with it, and two calls a file fewer count
  // in a check that opens some forty.
  return fd;
}

std::FILE* OpenRegularFileStream(const char* path) {
  const int fd = OpenRegularFile(path);
  if (fd < 0) return nullptr;
  std::FILE* stream = fdopen(fd, "rb");
  if (stream == nullptr) close(fd);
  return stream;
}

bool ReadRegularFile(const char* path, size_t maxBytes, std::vector<unsigned char>* bytes) {
  const int fd = OpenRegularFile(path);
  if (fd < 0) return false;
  struct stat status;
  bool read = fstat(fd, &status) == 0 && static_cast<size_t>(status.st_size) <= maxBytes;
  if (read) {
    bytes->resize(static_cast<size_t>(status.st_size));
    size_t got = 0;
    while (read && got < bytes->size()) {
      const ssize_t part = ::read(fd, bytes->data() + got, bytes->size() - got);
      if (part < 0 && errno == EINTR) continue;
      read = part > 0;
      if (read) got += static_cast<size_t>(part);
    }
  }
  close(fd);
  return read;
}
