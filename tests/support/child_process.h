// Programs that a test starts and owns: the X server, the game, the X tools. A child never
// outlives its test: the object stops it when it goes, and the kernel kills it should the
// test process die first (a crash, a time-out of the test runner).
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

// An environment as "NAME=value" entries: the test's own, with `changes` set on top.
std::vector<std::string> EnvironmentWith(const std::map<std::string, std::string>& changes);

class ChildProcess {
 public:
  struct Options {
    std::vector<std::string> command;  // the program (looked up on PATH) and its arguments
    std::vector<std::string> environment;
    std::filesystem::path workingDirectory;  // empty: the test's own
    std::filesystem::path outputFile;        // standard output and error; empty: /dev/null
    std::filesystem::path errorFile;
    int inheritedDescriptor = -1;  // handed on to the child under its own number
  };

  ChildProcess() = default;
  ~ChildProcess();  // stops the child if it still runs
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // False when the program could not be started; the reason is then in `error`.
  bool Start(const Options& options, std::string* error);

  bool Running();
  void Signal(int signalNumber);
  // Whether the child has put in its own handler for the signal (its /proc status says it
  // catches it) within `timeout`: a signal sent before that ends it before it can say so.
  bool WaitUntilCatching(int signalNumber, std::chrono::milliseconds timeout);
  // The exit code once the child has ended, or 128 + the signal that ended it (as a shell
  // reports it); nothing when it still runs after `timeout`.
  std::optional<int> WaitForExit(std::chrono::milliseconds timeout);
  // SIGTERM, a few seconds' grace, then SIGKILL; returns once the child is gone.
  void Stop();

 private:
  pid_t pid_ = -1;
  std::optional<int> exitStatus_;
};

// What a program run to its end left: its exit code (nothing when it was still running at the
// end of patience, and was stopped) and what it wrote on its standard output and error.
struct FinishedRun {
  std::optional<int> exitCode;
  std::string output;
  std::string errors;
};

// Starts the program as `options` say, with both output files given, and waits for its end. A
// program that cannot be started fails the test.
FinishedRun RunToItsEnd(const ChildProcess::Options& options, std::chrono::milliseconds patience);

struct CommandResult {
  std::optional<int> exitCode;  // nothing when the command ran out of time and was killed
  std::string output;           // its standard output
};

// Runs a short command to its end, capturing what it prints.
CommandResult RunCommand(const std::vector<std::string>& command,
                         const std::vector<std::string>& environment,
                         std::chrono::milliseconds timeout);
