#include "leaderboard/server_metrics.h"

#include <regex>
#include <sstream>

namespace {

// The route of a path, as a label: the pattern of ids, never the id, so that the series stay few.
std::string RouteOf(const std::string& method, const std::string& path) {
  static const std::regex game(R"(/api/v1/games/[^/]+)");
  static const std::regex replay(R"(/api/v1/games/[^/]+/replay)");
  if (path == "/api/v1/games" && method == "POST") return "/api/v1/games";
  for (const char* fixed : {"/", "/healthz", "/metrics", "/api/v1/top"}) {
    if (path == fixed) return fixed;
  }
  if (std::regex_match(path, game)) return "/api/v1/games/{id}";
  if (std::regex_match(path, replay)) return "/api/v1/games/{id}/replay";
  if (path == "/play" || path.starts_with("/play/")) return "/play/";
  return "other";
}

const char* OutcomeName(ProofOutcome outcome) {
  switch (outcome) {
    case ProofOutcome::Proven: return "proven";
    case ProofOutcome::NotProven: return "not_proven";
    case ProofOutcome::Unreadable: return "unreadable";
    case ProofOutcome::CheckFailed: return "check_failed";
    case ProofOutcome::Crashed: return "crashed";
    case ProofOutcome::Stopping: return "stopping";
  }
  return "unknown";
}

}  // namespace

void ServerMetrics::CountRequest(const std::string& method, const std::string& path, int status) {
  const std::string route = RouteOf(method, path);
  std::lock_guard<std::mutex> lock(mutex_);
  ++requests_[{route, status}];
}

void ServerMetrics::CountVerdict(ProofOutcome outcome, double seconds, bool checkedHere) {
  std::lock_guard<std::mutex> lock(mutex_);
  ++verdicts_[OutcomeName(outcome)];
  if (!checkedHere) return;
  size_t bucket = 0;
  while (bucket < kBuckets.size() && seconds > kBuckets[bucket]) ++bucket;
  ++checkBuckets_[bucket];
  checkSeconds_ += seconds;
  ++checks_;
}

void ServerMetrics::CountHeld() {
  std::lock_guard<std::mutex> lock(mutex_);
  --verdicts_[OutcomeName(ProofOutcome::Proven)];
  ++verdicts_["held"];
}

void ServerMetrics::CountDatabaseError() {
  std::lock_guard<std::mutex> lock(mutex_);
  ++databaseErrors_;
}

std::string ServerMetrics::Text(int64_t waiting, int64_t games) const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::ostringstream text;
  text << "# HELP zimbrel_requests_total Requests answered, by route and status.\n"
          "# TYPE zimbrel_requests_total counter\n";
  for (const auto& [key, count] : requests_) {
    text << "zimbrel_requests_total{route=\"" << key.first << "\",status=\"" << key.second << "\"} " << count << "\n";
  }
  text << "# HELP zimbrel_proofs_total Submissions answered with a verdict, by outcome (held: proven, and held for review).\n"
          "# TYPE zimbrel_proofs_total counter\n";
  for (const auto& [outcome, count] : verdicts_) text << "zimbrel_proofs_total{outcome=\"" << outcome << "\"} " << count << "\n";
  text << "# HELP zimbrel_check_seconds The wait for each check of a proof, from queueing to verdict.\n"
          "# TYPE zimbrel_check_seconds histogram\n";
  int64_t below = 0;
  for (size_t b = 0; b < kBuckets.size(); ++b) {
    below += checkBuckets_[b];
    text << "zimbrel_check_seconds_bucket{le=\"" << kBuckets[b] << "\"} " << below << "\n";
  }
  text << "zimbrel_check_seconds_bucket{le=\"+Inf\"} " << checks_ << "\n"
       << "zimbrel_check_seconds_sum " << checkSeconds_ << "\n"
       << "zimbrel_check_seconds_count " << checks_ << "\n"
       << "# HELP zimbrel_queue_waiting Proofs waiting for a verifier.\n# TYPE zimbrel_queue_waiting gauge\n"
       << "zimbrel_queue_waiting " << waiting << "\n"
       << "# HELP zimbrel_database_errors_total Requests the database failed.\n"
          "# TYPE zimbrel_database_errors_total counter\n"
       << "zimbrel_database_errors_total " << databaseErrors_ << "\n"
       << "# HELP zimbrel_games Games on the world's table (-1: the database cannot be reached).\n"
          "# TYPE zimbrel_games gauge\n"
       << "zimbrel_games " << games << "\n";
  return text.str();
}
