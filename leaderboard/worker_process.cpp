#include "leaderboard/worker_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "replay/replay_file.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// A message larger than this is no answer of ours: a proof, the largest we send, with room.
constexpr size_t kLargestMessage = 8 * static_cast<size_t>(kLargestReplayBytes);

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t wrote = write(fd, data, size);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return false;
    data += wrote;
    size -= static_cast<size_t>(wrote);
  }
  return true;
}

// Reads one byte at a time up to the newline, then the body; waits on poll() until `deadline`
// when one is given.
class MessageReader {
 public:
  MessageReader(int fd, std::optional<Clock::time_point> deadline) : fd_(fd), deadline_(deadline) {}

  std::optional<std::string> Read(WorkerFault* fault) {
    std::string length;
    for (char c = 0; c != '\n';) {
      if (!Take(&c, 1, fault)) return std::nullopt;
      if (c != '\n') length += c;
      if (length.size() > 12) return Fail(fault, WorkerFault::Garbled);
    }
    size_t size = 0;
    try {
      size = std::stoull(length);
    } catch (const std::exception&) {
      return Fail(fault, WorkerFault::Garbled);
    }
    if (size > kLargestMessage) return Fail(fault, WorkerFault::Garbled);
    std::string body(size, '\0');
    if (!Take(body.data(), size, fault)) return std::nullopt;
    return body;
  }

 private:
  static std::optional<std::string> Fail(WorkerFault* fault, WorkerFault what) {
    *fault = what;
    return std::nullopt;
  }

  bool Take(char* into, size_t size, WorkerFault* fault) {
    while (size > 0) {
      if (deadline_) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(*deadline_ - Clock::now());
        if (left.count() <= 0) return Fail(fault, WorkerFault::PastDeadline), false;
        pollfd readable{fd_, POLLIN, 0};
        const int ready = poll(&readable, 1, static_cast<int>(std::min<int64_t>(left.count(), 1000)));
        if (ready < 0 && errno != EINTR) return Fail(fault, WorkerFault::Ended), false;
        if (ready <= 0) continue;
      }
      const ssize_t got = read(fd_, into, size);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) return Fail(fault, WorkerFault::Ended), false;
      into += got;
      size -= static_cast<size_t>(got);
    }
    return true;
  }

  int fd_;
  std::optional<Clock::time_point> deadline_;
};

}  // namespace

const char* WorkerFaultText(WorkerFault fault) {
  switch (fault) {
    case WorkerFault::Ended: return "ended";
    case WorkerFault::PastDeadline: return "ran past its time";
    case WorkerFault::Garbled: return "garbled its answer";
  }
  return "failed";
}

std::optional<std::string> ReadMessage(int fd) {
  WorkerFault fault{};
  return MessageReader(fd, std::nullopt).Read(&fault);
}

bool WriteMessage(int fd, const std::string& message) {
  const std::string length = std::to_string(message.size()) + "\n";
  return WriteAll(fd, length.data(), length.size()) && WriteAll(fd, message.data(), message.size());
}

WorkerProcess::~WorkerProcess() { Kill(); }

bool WorkerProcess::Start(std::string* error) {
  if (pid_ > 0) return true;
  int in[2];
  int out[2];
  if (pipe2(in, O_CLOEXEC) != 0) {
    *error = std::string("no pipe (") + std::strerror(errno) + ")";
    return false;
  }
  if (pipe2(out, O_CLOEXEC) != 0) {
    *error = std::string("no pipe (") + std::strerror(errno) + ")";
    close(in[0]);
    close(in[1]);
    return false;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setpgroup(&attributes, 0);
  // The server ignores SIGPIPE and blocks the ending signals in its threads; the child starts
  // with neither.
  sigset_t none;
  sigemptyset(&none);
  sigset_t defaults;
  sigemptyset(&defaults);
  for (const int number : {SIGPIPE, SIGTERM, SIGINT, SIGHUP}) sigaddset(&defaults, number);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  std::vector<char*> argv;
  for (std::string& word : command_) argv.push_back(word.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  close(in[0]);
  close(out[1]);
  if (spawned != 0) {
    *error = command_[0] + ": cannot be started (" + std::strerror(spawned) + ")";
    close(in[1]);
    close(out[0]);
    return false;
  }
  pid_ = pid;
  toChild_ = in[1];
  fromChild_ = out[0];
  return true;
}

std::optional<std::string> WorkerProcess::Ask(const std::string& request, Clock::time_point deadline,
                                              WorkerFault* fault) {
  std::optional<std::string> answer;
  if (!WriteMessage(toChild_, request)) {
    *fault = WorkerFault::Ended;
  } else {
    answer = MessageReader(fromChild_, deadline).Read(fault);
  }
  if (!answer) Kill();
  return answer;
}

void WorkerProcess::Kill() {
  if (pid_ <= 0) return;
  kill(-pid_, SIGKILL);
  close(toChild_);
  close(fromChild_);
  while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
  }
  pid_ = -1;
  toChild_ = fromChild_ = -1;
}
