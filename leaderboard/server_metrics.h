// What the server has done since it started, for a Prometheus scrape: requests by route and
// status, checks by outcome with their times, the database's failures; the queue and the
// games on the table are asked for at each scrape. Every call may come from any thread.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <utility>

#include "replay/proof_check.h"

class ServerMetrics {
 public:
  // `path` as requested: it is counted under the route that answers it, "other" when none.
  void CountRequest(const std::string& method, const std::string& path, int status);
  // A verdict given to a submission; `seconds` the wait for it, for a check of its own.
  void CountVerdict(ProofOutcome outcome, double seconds, bool checkedHere);
  // A proven proof whose game the review held: counted as held, no longer as proven.
  void CountHeld();
  void CountDatabaseError();
  // Prometheus' text format.
  std::string Text(int64_t waiting, int64_t games) const;

 private:
  static constexpr std::array<double, 12> kBuckets = {0.005, 0.01, 0.025, 0.05, 0.1, 0.25,
                                                      0.5,   1,    2.5,   5,    10,  30};
  mutable std::mutex mutex_;
  std::map<std::pair<std::string, int>, int64_t> requests_;  // by route and status
  std::map<std::string, int64_t> verdicts_;                  // by outcome
  std::array<int64_t, kBuckets.size() + 1> checkBuckets_{};  // the last past every bound
  double checkSeconds_ = 0;
  int64_t checks_ = 0;
  int64_t databaseErrors_ = 0;
};
