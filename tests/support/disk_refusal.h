// A disk that takes no more bytes, for as long as this lives: every write to a file fails as
// on a full disk (the process's file size limit set to 0, its signal ignored). Unlike
// permissions, this binds root too.
#pragma once

#include <sys/resource.h>

class DiskRefusal {
 public:
  DiskRefusal();
  ~DiskRefusal();
  DiskRefusal(const DiskRefusal&) = delete;
  DiskRefusal& operator=(const DiskRefusal&) = delete;

  bool Active() const { return active_; }

 private:
  rlimit before_{};
  bool active_ = false;
};
