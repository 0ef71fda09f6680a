// Between the answering threads and the verifiers: a proof refused in the last hour is
// answered from memory, and identical proofs that come while one is checked share its check.
#pragma once

#include <chrono>
#include <deque>
#include <future>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

#include "leaderboard/verifier.h"

class ProofDesk {
 public:
  explicit ProofDesk(Verifier& verifier) : verifier_(verifier) {}

  struct Answer {
    ProofVerdict verdict;
    bool checkedHere = false;  // this call's own check, whose CPU the sender pays
  };
  // The verdict on `proof`, whose hash is `hash`; nothing, with why, when the pool takes no
  // more.
  std::optional<Answer> Check(const std::string& hash, const std::string& proof,
                              Verifier::Refusal* refusal);

 private:
  // The refusals remembered, and in what order they go.
  struct Remembered {
    ProofVerdict verdict;
    std::chrono::steady_clock::time_point at;
  };
  void Remember(const std::string& hash, const ProofVerdict& verdict);
  void Forget(std::chrono::steady_clock::time_point now);

  Verifier& verifier_;
  std::mutex mutex_;
  std::map<std::string, std::shared_future<ProofVerdict>> underWay_;
  std::unordered_map<std::string, Remembered> refused_;
  std::deque<std::string> refusedInOrder_;
};

// How long, and how many, refused proofs are remembered.
constexpr std::chrono::hours kRefusalsRememberedFor{1};
constexpr size_t kRefusalsRemembered = 20000;
