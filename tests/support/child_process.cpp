#include "tests/support/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

#include "tests/support/file_bytes.h"

extern char** environ;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr auto kStopGrace = std::chrono::seconds(5);

std::chrono::milliseconds TimeLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return std::max(left, std::chrono::milliseconds(0));
}

std::string VariableName(const std::string& entry) { return entry.substr(0, entry.find('=')); }

fs::path FindOnPath(const std::string& program) {
  if (program.find('/') != std::string::npos) return program;
  const char* path = std::getenv("PATH");
  std::string directories = path ? path : "/usr/bin:/bin";
  size_t start = 0;
  while (start <= directories.size()) {
    size_t end = directories.find(':', start);
    if (end == std::string::npos) end = directories.size();
    fs::path candidate = fs::path(directories.substr(start, end - start)) / program;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    start = end + 1;
  }
  return {};
}

std::vector<char*> PointersTo(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Between fork and exec only async-signal-safe calls: everything else was prepared before.
[[noreturn]] void BecomeChild(const char* program, char* const* argv, char* const* envp,
                              const char* directory, const char* outputFile,
                              const char* errorFile, int inheritedDescriptor, pid_t parent) {
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != parent) _exit(127);  // the test died before the line above
  int input = open("/dev/null", O_RDONLY);
  int output = open(outputFile, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  int error = open(errorFile, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (input < 0 || output < 0 || error < 0) _exit(127);
  dup2(input, STDIN_FILENO);
  dup2(output, STDOUT_FILENO);
  dup2(error, STDERR_FILENO);
  if (inheritedDescriptor >= 0) fcntl(inheritedDescriptor, F_SETFD, 0);
  if (directory[0] != '\0' && chdir(directory) != 0) _exit(127);
  execve(program, argv, envp);
  _exit(127);
}

}  // namespace

std::vector<std::string> EnvironmentWith(const std::map<std::string, std::string>& changes) {
  std::vector<std::string> environment;
  for (char** entry = environ; *entry; ++entry) {
    if (!changes.count(VariableName(*entry))) environment.emplace_back(*entry);
  }
  for (const auto& [name, value] : changes) environment.push_back(name + "=" + value);
  return environment;
}

ChildProcess::~ChildProcess() { Stop(); }

bool ChildProcess::Start(const Options& options, std::string* error) {
  if (options.command.empty()) {
    *error = "no command";
    return false;
  }
  const fs::path program = FindOnPath(options.command[0]);
  if (program.empty()) {
    *error = options.command[0] + " is not installed (tools/install-deps installs it)";
    return false;
  }
  std::vector<std::string> arguments = options.command;
  std::vector<std::string> environment = options.environment;
  std::vector<char*> argv = PointersTo(arguments);
  std::vector<char*> envp = PointersTo(environment);
  const std::string directory = options.workingDirectory.string();
  const std::string output = options.outputFile.empty() ? "/dev/null" : options.outputFile.string();
  const std::string errors = options.errorFile.empty() ? "/dev/null" : options.errorFile.string();
  const pid_t parent = getpid();

  const pid_t pid = fork();
  if (pid < 0) {
    *error = std::string("fork: ") + std::strerror(errno);
    return false;
  }
  if (pid == 0) {
    BecomeChild(program.c_str(), argv.data(), envp.data(), directory.c_str(), output.c_str(),
                errors.c_str(), options.inheritedDescriptor, parent);
  }
  pid_ = pid;
  exitStatus_.reset();
  return true;
}

bool ChildProcess::Running() { return pid_ > 0 && !WaitForExit(std::chrono::milliseconds(0)); }

void ChildProcess::Signal(int signalNumber) {
  if (Running()) kill(pid_, signalNumber);
}

bool ChildProcess::WaitUntilCatching(int signalNumber, std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  const std::string status = "/proc/" + std::to_string(pid_) + "/status";
  while (Running()) {
    const std::string text = FileText(status);
    const size_t at = text.find("SigCgt:");
    if (at != std::string::npos &&
        (std::stoull(text.substr(at + 7), nullptr, 16) >> (signalNumber - 1) & 1) != 0) {
      return true;
    }
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}

std::optional<int> ChildProcess::WaitForExit(std::chrono::milliseconds timeout) {
  if (exitStatus_ || pid_ <= 0) return exitStatus_;
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    int status = 0;
    const pid_t ended = waitpid(pid_, &status, WNOHANG);
    if (ended == pid_ || (ended < 0 && errno != EINTR)) {
      exitStatus_ = ended < 0            ? 255
                    : WIFEXITED(status) ? WEXITSTATUS(status)
                                        : 128 + WTERMSIG(status);
      return exitStatus_;
    }
    if (Clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

void ChildProcess::Stop() {
  if (!Running()) return;
  kill(pid_, SIGTERM);
  if (WaitForExit(kStopGrace)) return;
  kill(pid_, SIGKILL);
  WaitForExit(std::chrono::hours(1));
}

CommandResult RunCommand(const std::vector<std::string>& command,
                         const std::vector<std::string>& environment,
                         std::chrono::milliseconds timeout) {
  CommandResult result;
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) return result;
  ChildProcess child;
  std::string error;
  // The child opens the pipe's writing end by name, as its standard output.
  const std::string outputPath = "/dev/fd/" + std::to_string(pipeEnds[1]);
  ChildProcess::Options options{command, environment, {}, outputPath, {}, -1};
  const bool started = child.Start(options, &error);
  close(pipeEnds[1]);
  if (!started) {
    close(pipeEnds[0]);
    result.output = error;
    return result;
  }
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    const std::chrono::milliseconds left = TimeLeft(deadline);
    if (left.count() <= 0) break;
    pollfd readable{pipeEnds[0], POLLIN, 0};
    if (poll(&readable, 1, static_cast<int>(left.count())) <= 0) continue;
    char buffer[4096];
    const ssize_t got = read(pipeEnds[0], buffer, sizeof buffer);
    if (got <= 0) break;  // the end of its output
    result.output.append(buffer, static_cast<size_t>(got));
  }
  close(pipeEnds[0]);
  result.exitCode = child.WaitForExit(TimeLeft(deadline));
  return result;  // a command still running here is killed as `child` goes
}

FinishedRun RunToItsEnd(const ChildProcess::Options& options, std::chrono::milliseconds patience) {
  ChildProcess child;
  std::string error;
  if (!child.Start(options, &error)) {
    ADD_FAILURE() << error;
    return {std::nullopt, "", error};
  }
  const std::optional<int> code = child.WaitForExit(patience);
  return {code, FileText(options.outputFile), FileText(options.errorFile)};
}
