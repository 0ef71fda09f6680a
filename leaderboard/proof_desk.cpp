#include "leaderboard/proof_desk.h"

using Clock = std::chrono::steady_clock;

namespace {

// Only what the proof itself decides is remembered: a crash, the server stopping or a check
// that could not be made may go otherwise next time.
bool TheProofsOwn(ProofOutcome outcome) {
  return outcome == ProofOutcome::Unreadable || outcome == ProofOutcome::NotProven;
}

}  // namespace

std::optional<ProofDesk::Answer> ProofDesk::Check(const std::string& hash, const std::string& proof,
                                                  Verifier::Refusal* refusal) {
  std::shared_future<ProofVerdict> verdict;
  bool mine = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    Forget(Clock::now());
    if (const auto known = refused_.find(hash); known != refused_.end()) return Answer{known->second.verdict, false};
    if (const auto shared = underWay_.find(hash); shared != underWay_.end()) {
      verdict = shared->second;
    } else {
      std::optional<std::future<ProofVerdict>> pending = verifier_.Submit(proof, refusal);
      if (!pending) return std::nullopt;
      verdict = pending->share();
      underWay_.emplace(hash, verdict);
      mine = true;
    }
  }
  const ProofVerdict& given = verdict.get();
  if (mine) {
    std::lock_guard<std::mutex> lock(mutex_);
    underWay_.erase(hash);
    if (TheProofsOwn(given.outcome)) Remember(hash, given);
  }
  return Answer{given, mine};
}

void ProofDesk::Remember(const std::string& hash, const ProofVerdict& verdict) {
  if (refusedInOrder_.size() >= kRefusalsRemembered) {
    refused_.erase(refusedInOrder_.front());
    refusedInOrder_.pop_front();
  }
  if (refused_.insert_or_assign(hash, Remembered{verdict, Clock::now()}).second) refusedInOrder_.push_back(hash);
}

void ProofDesk::Forget(Clock::time_point now) {
  while (!refusedInOrder_.empty()) {
    const auto oldest = refused_.find(refusedInOrder_.front());
    if (oldest != refused_.end() && now - oldest->second.at < kRefusalsRememberedFor) return;
    if (oldest != refused_.end()) refused_.erase(oldest);
    refusedInOrder_.pop_front();
  }
}
