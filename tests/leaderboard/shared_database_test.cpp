// Three servers on one PostgreSQL database behave as one: a proof sent to all three at once is
// kept once, and an address's rate is counted once for all of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "tests/support/leaderboard_run.h"

namespace {

class ServersOnOneDatabase : public testing::TestWithParam<std::string> {};

// Each proof to its own server, all at once; the statuses in the servers' order.
std::vector<int> SentAtOnce(const std::vector<LeaderboardRun*>& servers, const std::vector<std::string>& proofs) {
  std::vector<int> statuses(servers.size());
  std::vector<std::thread> clients;
  for (size_t s = 0; s < servers.size(); ++s) {
    clients.emplace_back([&, s] { statuses[s] = servers[s]->Post(proofs[s]).status; });
  }
  for (std::thread& client : clients) client.join();
  std::sort(statuses.begin(), statuses.end());
  return statuses;
}

TEST_P(ServersOnOneDatabase, KeepAProofOnceAndHoldAnAddressToOneRate) {
  LeaderboardRun first, second, third;
  const std::string database = TestDatabase(GetParam(), first.Folder());
  if (database.empty()) GTEST_SKIP() << "no PostgreSQL here (ctest runs this under pg_virtualenv)";
  const std::vector<LeaderboardRun*> servers = {&first, &second, &third};
  for (LeaderboardRun* server : servers) {
    ASSERT_NO_FATAL_FAILURE(server->Start({"--database", database, "--rate", "4"}));
  }
  const std::string proof = GoldenProof();
  EXPECT_EQ(SentAtOnce(servers, {proof, proof, proof}), (std::vector<int>{200, 200, 201}));
  // Four submissions a minute from 127.0.0.1 in all: one is left for the three servers.
  EXPECT_EQ(SentAtOnce(servers, {GoldenProof("AAA", "", 1), GoldenProof("BBB", "", 2), GoldenProof("CCC", "", 3)}),
            (std::vector<int>{201, 429, 429}));
  EXPECT_EQ(nlohmann::json::parse(third.Get("/api/v1/top").body)["total"], 2);
}

INSTANTIATE_TEST_SUITE_P(Databases, ServersOnOneDatabase, testing::Values("postgresql"),
                         [](const testing::TestParamInfo<std::string>& database) { return database.param; });

}  // namespace
