#include "tests/support/disk_refusal.h"

#include <csignal>

DiskRefusal::DiskRefusal() {
  std::signal(SIGXFSZ, SIG_IGN);
  getrlimit(RLIMIT_FSIZE, &before_);
  rlimit none = before_;
  none.rlim_cur = 0;
  active_ = setrlimit(RLIMIT_FSIZE, &none) == 0;
}

DiskRefusal::~DiskRefusal() {
  if (active_) setrlimit(RLIMIT_FSIZE, &before_);
  std::signal(SIGXFSZ, SIG_DFL);
}
