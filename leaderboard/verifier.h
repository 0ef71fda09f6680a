// What the server's handlers ask of the verifiers: the pool of worker processes, or a stand-in
// in a test of the handlers.
#pragma once

#include <cstddef>
#include <future>
#include <optional>
#include <string>

#include "replay/proof_check.h"

class Verifier {
 public:
  virtual ~Verifier() = default;
  enum class Refusal { QueueFull, Stopping };
  // The verdict to come; nothing, with why, when no more proofs are taken now.
  virtual std::optional<std::future<ProofVerdict>> Submit(std::string proof, Refusal* refusal) = 0;
  // Proofs waiting for a verifier.
  virtual size_t Waiting() = 0;
};
