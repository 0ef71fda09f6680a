#include "leaderboard/verifier_pool.h"

#include <nlohmann/json.hpp>

#include <signal.h>

#include <cstdio>

#include "leaderboard/worker_process.h"

using Clock = std::chrono::steady_clock;
using nlohmann::json;

namespace {

const char* const kOutcomeNames[] = {"proven", "not proven", "unreadable", "crashed", "stopping", "unavailable"};

}  // namespace

std::string VerdictText(const Verdict& verdict) {
  json games = json::array();
  for (const GameToKeep& game : verdict.games) {
    games.push_back({{"key", game.key},
                     {"name", game.game.name},
                     {"score", game.game.score},
                     {"swats", game.game.swats},
                     {"stage", game.game.stage},
                     {"flips", game.game.flips}});
  }
  return json{{"outcome", kOutcomeNames[static_cast<int>(verdict.outcome)]},
              {"reason", verdict.reason},
              {"cpu", verdict.cpuSeconds},
              {"games", games}}
      .dump(-1, ' ', false, json::error_handler_t::replace);
}

Verdict VerdictOf(const std::string& text) {
  Verdict verdict;
  try {
    const json answer = json::parse(text);
    const std::string outcome = answer.at("outcome");
    verdict.outcome = Verdict::Outcome::Crashed;
    for (int i = 0; i < static_cast<int>(std::size(kOutcomeNames)); ++i) {
      if (outcome == kOutcomeNames[i]) verdict.outcome = static_cast<Verdict::Outcome>(i);
    }
    verdict.reason = answer.at("reason");
    verdict.cpuSeconds = answer.at("cpu");
    for (const json& game : answer.at("games")) {
      GameToKeep kept;
      kept.key = game.at("key");
      kept.game.name = game.at("name");
      kept.game.score = game.at("score");
      kept.game.swats = game.at("swats");
      kept.game.stage = game.at("stage");
      kept.game.flips = game.at("flips");
      verdict.games.push_back(std::move(kept));
    }
  } catch (const json::exception& fault) {
    verdict = Verdict{Verdict::Outcome::Crashed, std::string("the verifier's answer is garbled (") + fault.what() + ")", {}};
  }
  return verdict;
}

VerifierPool::VerifierPool(VerifierPoolOptions options) : options_(std::move(options)) {
  for (int i = 0; i < options_.verifiers; ++i) threads_.emplace_back([this] { Verify(); });
}

VerifierPool::~VerifierPool() { Drain(Clock::now()); }

std::optional<std::future<Verdict>> VerifierPool::Submit(std::string proof, Refusal* refusal) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (stopping_ || queue_.size() >= options_.queueLength) {
    *refusal = stopping_ ? Refusal::Stopping : Refusal::QueueFull;
    return std::nullopt;
  }
  queue_.push_back(Job{std::move(proof), {}});
  std::future<Verdict> answer = queue_.back().answer.get_future();
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

std::optional<std::string> VerifierPool::Checked(WorkerProcess& worker, const std::string& proof, std::string* why) {
  const pid_t pid = worker.Pid();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    checking_.insert(pid);
  }
  std::optional<std::string> answer = worker.Ask(proof, Clock::now() + options_.patience, why);
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
        job.answer.set_value(Verdict{Verdict::Outcome::Stopping, "the server is stopping; send it again later", {}});
        continue;
      }
    }
    Verdict verdict;
    if (!worker.Start(&why)) {
      verdict = Verdict{Verdict::Outcome::Unavailable, "no verifier could be started: " + why, {}};
    } else if (const std::optional<std::string> answer = Checked(worker, job.proof, &why)) {
      verdict = VerdictOf(*answer);
    } else if (CutShort()) {
      verdict = Verdict{Verdict::Outcome::Stopping, "the server stopped while checking it; send it again later", {}};
    } else if (why == "ran past its time") {
      verdict = Verdict{Verdict::Outcome::NotProven, "its check ran past its time and was stopped", {}};
    } else {
      verdict = Verdict{Verdict::Outcome::Crashed, "the verifier " + why + " while checking it", {}};
    }
    job.answer.set_value(std::move(verdict));
  }
}
