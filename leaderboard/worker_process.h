// A long-lived child process that answers one request at a time over its standard input and
// output: each message is its length in decimal, a newline, then its bytes. The verifiers'
// pool keeps one per verifying thread; the child runs in a process group of its own, so that
// killing it also ends whatever it started.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// Why a child gave no answer.
enum class WorkerFault {
  Ended,         // it died, or closed its output
  PastDeadline,  // it gave no answer in time, and was killed
  Garbled,       // what it wrote is no message of ours
};
const char* WorkerFaultText(WorkerFault fault);

class WorkerProcess {
 public:
  explicit WorkerProcess(std::vector<std::string> command) : command_(std::move(command)) {}
  ~WorkerProcess();  // kills the child
  WorkerProcess(const WorkerProcess&) = delete;
  WorkerProcess& operator=(const WorkerProcess&) = delete;

  // Starts the child if none runs. False, with the system's reason, when it cannot.
  bool Start(std::string* error);
  // Sends `request` and waits for the answer until `deadline`. Nothing when the child died,
  // garbled its answer or ran past the deadline: it is then killed, `fault` says which, and
  // the next Start makes a new one.
  std::optional<std::string> Ask(const std::string& request,
                                 std::chrono::steady_clock::time_point deadline, WorkerFault* fault);
  pid_t Pid() const { return pid_; }

 private:
  void Kill();

  std::vector<std::string> command_;
  pid_t pid_ = -1;
  int toChild_ = -1;
  int fromChild_ = -1;
};

// The child's side: reads one message from `fd`; nothing at the end of input.
std::optional<std::string> ReadMessage(int fd);
// False when the other side is gone.
bool WriteMessage(int fd, const std::string& message);
