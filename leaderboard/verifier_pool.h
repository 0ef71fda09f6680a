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

#include "leaderboard/verifier.h"
#include "leaderboard/worker_process.h"

struct VerifierPoolOptions {
  std::vector<std::string> workerCommand;
  int verifiers = 1;
  size_t queueLength = 64;  // proofs waiting for a verifier, past which Submit refuses
  // A worker that gives no answer in this long is killed: the CPU cap the worker heeds
  // itself, with room for a machine busy elsewhere.
  std::chrono::milliseconds patience{std::chrono::seconds(60)};
};

class VerifierPool final : public Verifier {
 public:
  explicit VerifierPool(VerifierPoolOptions options);
  ~VerifierPool() override;  // Drain(now)

  // Nothing, with why, when the queue is full or the pool is stopping.
  std::optional<std::future<ProofVerdict>> Submit(std::string proof, Refusal* refusal) override;
  // Takes no more proofs; those waiting are still verified until `deadline`, then answered
  // as Stopping, and a check still under way then is cut short and answered so too; returns
  // once every verifier has finished.
  void Drain(std::chrono::steady_clock::time_point deadline);
  size_t Waiting() override;

 private:
  struct Job {
    std::string proof;
    std::promise<ProofVerdict> answer;
  };
  void Verify();
  // The worker's answer to the proof, the worker marked as checking meanwhile.
  std::optional<std::string> Checked(WorkerProcess& worker, const std::string& proof, WorkerFault* fault);
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
