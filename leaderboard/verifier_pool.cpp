#include "leaderboard/verifier_pool.h"

#include <signal.h>

#include <cstdio>

#include "replay/proof_json.h"

using Clock = std::chrono::steady_clock;

namespace {

// A verdict the pool gives itself, where no check gave one.
ProofVerdict Unchecked(ProofOutcome outcome, const std::string& reason) {
  ProofVerdict verdict;
  verdict.outcome = outcome;
  verdict.reason = reason;
  return verdict;
}

// The worker's answer, or why it is no answer.
ProofVerdict VerdictOf(const std::string& answer) {
  try {
    return ProofVerdictOf(nlohmann::json::parse(answer));
  } catch (const nlohmann::json::exception& fault) {
    return Unchecked(ProofOutcome::Crashed, std::string("the verifier's answer is garbled (") + fault.what() + ")");
  }
}

}  // namespace

VerifierPool::VerifierPool(VerifierPoolOptions options) : options_(std::move(options)) {
  for (int i = 0; i < options_.verifiers; ++i) threads_.emplace_back([this] { Verify(); });
}

VerifierPool::~VerifierPool() { Drain(Clock::now()); }

std::optional<std::future<ProofVerdict>> VerifierPool::Submit(std::string proof, Refusal* refusal) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (stopping_ || queue_.size() >= options_.queueLength) {
    *refusal = stopping_ ? Refusal::Stopping : Refusal::QueueFull;
    return std::nullopt;
  }
  queue_.push_back(Job{std::move(proof), {}});
  std::future<ProofVerdict> answer = queue_.back().answer.get_future();
  wake_.notify_one();
  return answer;
}

size_t VerifierPool::Waiting() {
  std::lock_guard<std::mutex> lock(mutex_);
  return queue_.size();
}

void VerifierPool::Drain(Clock::time_point deadline) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!stopping_) {
      stopping_ = true;
      deadline_ = deadline;
    }
  }
  wake_.notify_all();
  {
    // A check may run up to its CPU cap: past the deadline it is not waited for.
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait_until(lock, *deadline_, [&] { return checking_.empty() && queue_.empty(); });
    for (const pid_t worker : checking_) kill(-worker, SIGKILL);
  }
  for (std::thread& thread : threads_) {
    if (thread.joinable()) thread.join();
  }
}

std::optional<std::string> VerifierPool::Checked(WorkerProcess& worker, const std::string& proof, WorkerFault* fault) {
  const pid_t pid = worker.Pid();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    checking_.insert(pid);
  }
  std::optional<std::string> answer = worker.Ask(proof, Clock::now() + options_.patience, fault);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    checking_.erase(pid);
  }
  idle_.notify_all();
  return answer;
}

bool VerifierPool::CutShort() {
  std::lock_guard<std::mutex> lock(mutex_);
  return stopping_ && Clock::now() >= *deadline_;
}

void VerifierPool::Verify() {
  WorkerProcess worker(options_.workerCommand);
  std::string why;
  // Ready before the first proof comes; one that cannot start is tried again with each proof.
  if (!worker.Start(&why)) std::fprintf(stderr, "zimbrel-leaderboard: a verifier cannot start: %s\n", why.c_str());
  for (;;) {
    Job job;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
      if (queue_.empty()) return;
      job = std::move(queue_.front());
      queue_.pop_front();
      if (stopping_ && Clock::now() >= *deadline_) {
        job.answer.set_value(Unchecked(ProofOutcome::Stopping, "the server is stopping; send it again later"));
        continue;
      }
    }
    ProofVerdict verdict;
    WorkerFault fault{};
    if (!worker.Start(&why)) {
      verdict = Unchecked(ProofOutcome::CheckFailed, "no verifier could be started: " + why);
    } else if (const std::optional<std::string> answer = Checked(worker, job.proof, &fault)) {
      verdict = VerdictOf(*answer);
    } else if (CutShort()) {
      verdict = Unchecked(ProofOutcome::Stopping, "the server stopped while checking it; send it again later");
    } else if (fault == WorkerFault::PastDeadline) {
      verdict = Unchecked(ProofOutcome::NotProven, "its check ran past its time and was stopped");
    } else {
      verdict = Unchecked(ProofOutcome::Crashed, std::string("the verifier ") + WorkerFaultText(fault) + " while checking it");
    }
    job.answer.set_value(std::move(verdict));
  }
}
