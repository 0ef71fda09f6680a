// /metrics, served apart from the public address when asked, in Prometheus' text format: after
// a submission of each outcome, every sample in the form a scrape takes, and each counted once.
#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <map>
#include <regex>
#include <sstream>
#include <thread>

#include "tests/support/leaderboard_run.h"

namespace {

TEST(LeaderboardMetrics, EachOutcomeIsCountedAndServedApartInPrometheusText) {
  LeaderboardRun server;
  ASSERT_NO_FATAL_FAILURE(server.Start({"--metrics-listen", "127.0.0.1:0"}));
  std::smatch found;
  const std::string log = server.Log();
  ASSERT_TRUE(std::regex_search(log, found, std::regex("/metrics at http://127.0.0.1:([0-9]+)/metrics"))) << log;
  const int metricsPort = std::stoi(found[1]);

  EXPECT_EQ(server.Post(GoldenProof()).status, 201);
  std::string wrongScore = GoldenProof();
  wrongScore.replace(wrongScore.find("score 197530"), 12, "score 197540");
  EXPECT_EQ(server.Post(wrongScore).status, 422);
  EXPECT_EQ(server.Post("not a replay\n").status, 400);
  EXPECT_EQ(server.Get("/api/v1/games/1").status, 200);
  EXPECT_EQ(server.Get("/metrics").status, 404) << "served apart, and only there";

  httplib::Client client("127.0.0.1", metricsPort);
  const std::regex sample(R"(([a-z_]+(\{[a-z]+="[^"]*"(,[a-z]+="[^"]*")*\})?) (-?[0-9.e+]+))");
  const std::regex comment(R"(# (HELP|TYPE) [a-z_]+ .+)");
  std::map<std::string, double> samples;
  std::string body;
  std::string type;
  // A request is counted once its answer has gone: the last one may still be on its way.
  const std::string last = R"(zimbrel_requests_total{route="/metrics",status="404"})";
  for (int tries = 0; tries < 100 && samples[last] == 0; ++tries) {
    if (tries > 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const httplib::Result scrape = client.Get("/metrics");
    ASSERT_TRUE(scrape);
    ASSERT_EQ(scrape->status, 200);
    body = scrape->body;
    type = scrape->get_header_value("Content-Type");
    std::istringstream lines(body);
    for (std::string line; std::getline(lines, line);) {
      if (std::regex_match(line, comment)) continue;
      ASSERT_TRUE(std::regex_match(line, found, sample)) << line;
      samples[found[1]] = std::stod(found[4]);
    }
  }
  EXPECT_EQ(type, "text/plain; version=0.0.4; charset=utf-8");
  const std::map<std::string, double> expected = {
      {R"(zimbrel_proofs_total{outcome="proven"})", 1},
      {R"(zimbrel_proofs_total{outcome="not_proven"})", 1},
      {R"(zimbrel_requests_total{route="/api/v1/games",status="201"})", 1},
      {R"(zimbrel_requests_total{route="/api/v1/games",status="422"})", 1},
      {R"(zimbrel_requests_total{route="/api/v1/games",status="400"})", 1},
      {R"(zimbrel_requests_total{route="/api/v1/games/{id}",status="200"})", 1},
      {R"(zimbrel_requests_total{route="/metrics",status="404"})", 1},
      {"zimbrel_games", 1},
      {"zimbrel_queue_waiting", 0},
      {"zimbrel_database_errors_total", 0}};
  for (const auto& [name, value] : expected) EXPECT_EQ(samples[name], value) << name << "\n" << body;
  // Every check counted once in the histogram, the proven one and the refused one at least.
  EXPECT_GE(samples["zimbrel_check_seconds_count"], 2);
  EXPECT_EQ(samples[R"(zimbrel_check_seconds_bucket{le="+Inf"})"], samples["zimbrel_check_seconds_count"]);
  EXPECT_LE(samples[R"(zimbrel_check_seconds_bucket{le="0.005"})"], samples[R"(zimbrel_check_seconds_bucket{le="30"})"]);
}

}  // namespace
