// Verifying proofs off the HTTP threads: a bounded queue, and one thread per verifier, each
// with a worker process of its own that plays one proof at a time with the rules only (the
// game's records are process-wide, so one process plays one game at a time). A worker that
// crashes or runs past its time costs the proof it had, and is replaced.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <future>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "leaderboard/kept_game.h"

class WorkerProcess;

struct Verdict {
  enum class Outcome {
    Proven,      // it plays to its end and enters the games it claims
    NotProven,   // it plays otherwise, its clock is implausible, or it ran past its cap
    Unreadable,  // not a replay, or claims that cannot be read: nothing was played
    Crashed,     // the worker died while it played: the server's fault, not the proof's
    Stopping,    // the server stopped before its turn came
    Unavailable, // no check could be made (no verifier, a game file it cannot read)
  };
  Outcome outcome = Outcome::Unreadable;
  std::string reason;
  std::vector<GameToKeep> games;  // what it proves (receivedAt and id not set)
  double cpuSeconds = 0;          // what its check took
};

struct VerifierPoolOptions {
  std::vector<std::string> workerCommand;
  int verifiers = 1;
  size_t queueLength = 64;  // proofs waiting for a verifier, past which Submit refuses
  // A worker that gives no answer in this long is killed: the CPU cap the worker heeds
  // itself, with room for a machine busy elsewhere.
  std::chrono::milliseconds patience{std::chrono::seconds(60)};
};

class VerifierPool {
 public:
  explicit VerifierPool(VerifierPoolOptions options);
  ~VerifierPool();  // Drain(now)

  enum class Refusal { QueueFull, Stopping };
  // Nothing, with why, when the queue is full or the pool is stopping.
  std::optional<std::future<Verdict>> Submit(std::string proof, Refusal* refusal);
  // Takes no more proofs; those waiting are still verified until `deadline`, then answered
  // as Stopping, and a check still under way then is cut short and answered so too; returns
  // once every verifier has finished.
  void Drain(std::chrono::steady_clock::time_point deadline);
  size_t Waiting();

 private:
  struct Job {
    std::string proof;
    std::promise<Verdict> answer;
  };
  void Verify();
  // The worker's answer to the proof, the worker marked as checking meanwhile.
  std::optional<std::string> Checked(WorkerProcess& worker, const std::string& proof, std::string* why);
  // Stopping, and past the deadline.
  bool CutShort();

  VerifierPoolOptions options_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;  // a check has ended
  std::set<pid_t> checking_;      // the workers with a proof under way
  std::deque<Job> queue_;
  bool stopping_ = false;
  std::optional<std::chrono::steady_clock::time_point> deadline_;
  std::vector<std::thread> threads_;
};

// The worker's answer as it goes over its pipe, and back.
std::string VerdictText(const Verdict& verdict);
Verdict VerdictOf(const std::string& text);
