// What the process writes on standard error while this lives, through a pipe: unlike gtest's
// capture into a file, it still works while the disk takes no bytes (DiskRefusal). Holds up to
// a pipe's buffer (64 KiB), plenty for the few lines a test expects.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

class StderrPipe {
 public:
  StderrPipe() {
    std::fflush(stderr);
    if (pipe2(ends_, O_CLOEXEC | O_NONBLOCK) != 0) return;
    saved_ = dup(STDERR_FILENO);
    dup2(ends_[1], STDERR_FILENO);
  }
  ~StderrPipe() { Restore(); }
  StderrPipe(const StderrPipe&) = delete;
  StderrPipe& operator=(const StderrPipe&) = delete;

  // Everything written so far; standard error goes back where it was.
  std::string Said() {
    Restore();
    std::string said;
    char chunk[4096];
    ssize_t got;
    while (ends_[0] >= 0 && (got = read(ends_[0], chunk, sizeof chunk)) > 0) {
      said.append(chunk, static_cast<size_t>(got));
    }
    return said;
  }

 private:
  void Restore() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    dup2(saved_, STDERR_FILENO);
    close(saved_);
    close(ends_[1]);
    saved_ = -1;
  }

  int ends_[2] = {-1, -1};
  int saved_ = -1;
};
