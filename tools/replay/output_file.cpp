#include "tools/replay/output_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "scores/highscore_file.h"

namespace {

bool Fail(const std::string& path, int reason, std::string* error) {
  *error = path + ": cannot be written (" + std::strerror(reason) + ")";
  return false;
}

}  // namespace

bool WriteOutputFile(const std::string& path, const void* bytes, size_t size, std::string* error) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return Fail(path, errno, error);
  const auto* next = static_cast<const unsigned char*>(bytes);
  while (size > 0) {
    const ssize_t written = write(fd, next, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      const int reason = written == 0 ? ENOSPC : errno;
      close(fd);
      return Fail(path, reason, error);
    }
    next += written;
    size -= static_cast<size_t>(written);
  }
  if (close(fd) != 0) return Fail(path, errno, error);
  return true;
}

bool KeepHighscores(const std::string& path, std::string* error) {
  uint8_t bytes[kHighscoreFileBytes];
  EncodeHighscores(bytes);
  return WriteOutputFile(path, bytes, sizeof bytes, error);
}
