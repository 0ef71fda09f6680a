// A disk that takes no more bytes, for as long as this lives: every write to a file fails as
// on a full disk (the process's file size limit set to 0, its signal ignored). Unlike
// permissions, this binds root too.
#pragma once

#include <sys/resource.h>

#include <csignal>

class DiskRefusal {
 public:
  DiskRefusal() {
    std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &before_);
    rlimit none = before_;
    none.rlim_cur = 0;
    active_ = setrlimit(RLIMIT_FSIZE, &none) == 0;
  }
  ~DiskRefusal() {
    if (active_) setrlimit(RLIMIT_FSIZE, &before_);
    std::signal(SIGXFSZ, SIG_DFL);
  }
  DiskRefusal(const DiskRefusal&) = delete;
  DiskRefusal& operator=(const DiskRefusal&) = delete;

  bool Active() const { return active_; }

 private:
  rlimit before_{};
  bool active_ = false;
};
