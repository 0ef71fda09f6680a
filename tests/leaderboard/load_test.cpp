// The server under load and cut short: a thousand submissions at once, each answered and
// each game ranked once; a verifier crashed or run past its cap costs only its proof; SIGTERM
// answers what is under way and stops; SIGKILL in a burst loses no game answered 201.
#include <gtest/gtest.h>
#include <signal.h>

#include <nlohmann/json.hpp>

#include <atomic>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "tests/support/file_bytes.h"
#include "tests/support/golden_replays.h"
#include "tests/support/leaderboard_run.h"

namespace {

using nlohmann::json;
namespace fs = std::filesystem;

// A name of its own for game i: A00, A01, ...
std::string NameOf(int i) {
  return std::string(1, static_cast<char>('A' + i / 100)) + static_cast<char>('0' + i / 10 % 10) +
         static_cast<char>('0' + i % 10);
}

// Sends every proof from `threads` clients at once, proof i to servers[i % their count]; the
// answers in the proofs' order.
std::vector<HttpAnswer> SendAtOnce(const std::vector<const LeaderboardRun*>& servers,
                                   const std::vector<std::string>& proofs, int threads) {
  std::vector<HttpAnswer> answers(proofs.size());
  std::atomic<size_t> next{0};
  std::vector<std::thread> clients;
  for (int t = 0; t < threads; ++t) {
    clients.emplace_back([&] {
      for (size_t i; (i = next++) < proofs.size();) answers[i] = servers[i % servers.size()]->Post(proofs[i]);
    });
  }
  for (std::thread& client : clients) client.join();
  return answers;
}

// A process's children: the server's verifiers, or the copy a verifier checks a proof in.
std::vector<pid_t> ChildrenOf(pid_t parent) {
  std::vector<pid_t> children;
  for (const auto& task : fs::directory_iterator("/proc/" + std::to_string(parent) + "/task")) {
    std::istringstream found(FileText(task.path() / "children"));
    for (pid_t child; found >> child;) children.push_back(child);
  }
  return children;
}

// Every game ranked, a page of a hundred at a time.
std::set<std::string> RankedNames(const LeaderboardRun& server) {
  std::set<std::string> names;
  for (size_t offset = 0;; offset += 100) {
    const json top = json::parse(server.Get("/api/v1/top?limit=100&offset=" + std::to_string(offset)).body);
    for (const json& game : top["games"]) names.insert(game["name"].get<std::string>());
    if (top["games"].size() < 100) return names;
  }
}

TEST(LeaderboardLoad, AThousandSubmissionsAtOnceAreEachAnsweredAndEachGameRankedOnce) {
  LeaderboardRun server;
  ASSERT_NO_FATAL_FAILURE(server.Start({"--rate", "100000", "--cpu-budget", "100000", "--queue", "8", "--verifiers", "2"}));
  // Ten games, each as 80 copies of one text and 20 texts of its own.
  std::vector<std::string> proofs;
  for (int copy = 0; copy < 100; ++copy) {
    for (int game = 0; game < 10; ++game) {
      proofs.push_back(GoldenProof(NameOf(game), copy % 5 == 0 ? "copy " + std::to_string(copy) : "", game + 1));
    }
  }
  std::map<int, int> statuses;
  std::map<std::string, int> created;
  const std::vector<HttpAnswer> answers = SendAtOnce({&server}, proofs, 32);
  for (const HttpAnswer& answer : answers) {
    ++statuses[answer.status];
    if (answer.status == -1) ADD_FAILURE() << answer.body;
    if (answer.status == 201) ++created[json::parse(answer.body)["game"]["name"].get<std::string>()];
  }
  EXPECT_EQ(statuses[200] + statuses[201] + statuses[503], 1000) << "answers other than 200, 201, 503: " << testing::PrintToString(statuses) << server.Log();
  EXPECT_GT(statuses[201], 0);
  EXPECT_GT(statuses[503], 0) << "the queue never filled";
  // A game is ranked once, exactly when one of its proofs was answered 201.
  const std::set<std::string> ranked = RankedNames(server);
  for (int game = 0; game < 10; ++game) {
    EXPECT_EQ(created[NameOf(game)], static_cast<int>(ranked.count(NameOf(game)))) << NameOf(game);
  }
  EXPECT_EQ(json::parse(server.Get("/api/v1/top").body)["total"], statuses[201]);
}

TEST(LeaderboardLoad, AVerifierCrashedOrRunPastItsCapCostsOnlyItsProof) {
  LeaderboardRun server;
  // Two hours of the title take twice the cap to check, under the sanitizers too; the golden
  // game a tenth of it.
  ASSERT_NO_FATAL_FAILURE(server.Start({"--verifiers", "1", "--cpu-cap", "0.2"}));
  HttpAnswer answer = server.Post(IdleTitle(12));
  EXPECT_EQ(answer.status, 422) << answer.body;
  EXPECT_NE(answer.body.find("CPU-time cap"), std::string::npos) << answer.body;

  // The verifier killed while it plays that proof, found under way in its checking copy: that
  // copy holds the verifier's answers' pipe open, and goes too once the verifier is dead (a
  // fatal signal ends a process before it runs another instruction).
  std::thread crash([&] { answer = server.Post(IdleTitle(12, "# crashed\n")); });
  const std::vector<pid_t> before = ChildrenOf(server.Process().Pid());
  ASSERT_EQ(before.size(), 1u);
  std::vector<pid_t> checking;
  for (int tries = 0; tries < 10'000 && checking.empty(); ++tries) {
    checking = ChildrenOf(before[0]);
    if (checking.empty()) std::this_thread::sleep_for(std::chrono::microseconds(500));
  }
  EXPECT_EQ(checking.size(), 1u);
  kill(before[0], SIGSEGV);
  for (const pid_t copy : checking) kill(copy, SIGKILL);
  crash.join();
  EXPECT_EQ(answer.status, 500) << answer.body;
  EXPECT_NE(answer.body.find("the verifier ended while checking it"), std::string::npos) << answer.body;
  // Replaced: the next proof is verified.
  EXPECT_EQ(server.Post(GoldenProof()).status, 201);
  EXPECT_NE(ChildrenOf(server.Process().Pid()), before);
  // Nor is anything of the killed verifier left once the server has stopped.
  server.Process().Signal(SIGTERM);
  EXPECT_EQ(server.Process().WaitForExit(std::chrono::seconds(10)), 0);
  EXPECT_TRUE(fs::is_empty(server.Folder() / "tmp"));
}

TEST(LeaderboardLoad, SigtermAnswersWhatIsUnderWayAndStops) {
  LeaderboardRun server;
  ASSERT_NO_FATAL_FAILURE(server.Start({"--rate", "1000", "--verifiers", "1"}));
  // A check held up past the drain (its verifier stopped): cut short, not waited for.
  std::vector<std::string> proofs = {IdleTitle(12)};
  for (int game = 0; game < 6; ++game) proofs.push_back(GoldenProof(NameOf(game), "", game + 1));
  std::vector<HttpAnswer> answers;
  std::thread burst([&] { answers = SendAtOnce({&server}, proofs, static_cast<int>(proofs.size())); });
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  for (const pid_t verifier : ChildrenOf(server.Process().Pid())) kill(-verifier, SIGSTOP);
  const auto signalled = std::chrono::steady_clock::now();
  server.Process().Signal(SIGTERM);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  const HttpAnswer late = server.Post(GoldenProof("GLD", "", 7));
  EXPECT_EQ(late.status, 503);
  EXPECT_NE(late.body.find("the server is stopping"), std::string::npos) << late.body;
  EXPECT_EQ(server.Process().WaitForExit(std::chrono::seconds(10)), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - signalled, std::chrono::seconds(7));
  burst.join();
  for (const HttpAnswer& answer : answers) {
    EXPECT_TRUE(answer.status == 201 || answer.status == 503) << answer.status;
    EXPECT_TRUE(answer.status != 503 || answer.body.find("stopp") != std::string::npos) << answer.body;
  }
  EXPECT_NE(server.Log().find("zimbrel-leaderboard: stopped"), std::string::npos) << server.Log();
}

class LeaderboardKill : public testing::TestWithParam<std::string> {};

TEST_P(LeaderboardKill, SigkillInABurstLosesNoGameAnswered201) {
  LeaderboardRun server;
  const std::string database = TestDatabase(GetParam(), server.Folder());
  if (database.empty()) GTEST_SKIP() << "no PostgreSQL here (ctest runs this under pg_virtualenv)";
  ASSERT_NO_FATAL_FAILURE(server.Start({"--rate", "100000", "--database", database}));
  std::vector<std::string> proofs;
  for (int game = 0; game < 200; ++game) proofs.push_back(GoldenProof(NameOf(game), "", game + 1));
  std::vector<HttpAnswer> answers;
  std::thread burst([&] { answers = SendAtOnce({&server}, proofs, 8); });
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  server.Process().Signal(SIGKILL);
  burst.join();

  ASSERT_NO_FATAL_FAILURE(server.Start({"--rate", "100000", "--database", database}));
  std::set<std::string> created;
  std::set<std::string> unanswered;
  for (size_t i = 0; i < proofs.size(); ++i) {
    if (answers[i].status == -1) unanswered.insert(NameOf(static_cast<int>(i)));
    if (answers[i].status != 201) continue;
    const json game = json::parse(answers[i].body)["game"];
    created.insert(game["name"].get<std::string>());
    json stored = json::parse(server.Get("/api/v1/games/" + std::to_string(game["id"].get<int>())).body);
    stored["rank"] = game["rank"];
    EXPECT_EQ(stored, game);
    EXPECT_EQ(server.Get(game["replay"]).body, proofs[i]);
  }
  ASSERT_FALSE(created.empty()) << "nothing was kept before the kill";
  // Besides those answered 201, only a game whose answer the kill cut off.
  for (const std::string& name : RankedNames(server)) {
    EXPECT_TRUE(created.count(name) || unanswered.count(name)) << name << " was ranked unasked";
  }
  const std::set<std::string> ranked = RankedNames(server);
  for (const std::string& name : created) EXPECT_TRUE(ranked.count(name)) << name << " was lost";
}

INSTANTIATE_TEST_SUITE_P(Databases, LeaderboardKill, testing::Values("sqlite", "postgresql"),
                         [](const testing::TestParamInfo<std::string>& database) { return database.param; });

// Three servers on one PostgreSQL database behave as one: a proof sent to all three at once is
// kept once, and an address's rate is counted once for all of them.
class ServersOnOneDatabase : public testing::TestWithParam<std::string> {};

TEST_P(ServersOnOneDatabase, KeepAProofOnceAndHoldAnAddressToOneRate) {
  LeaderboardRun first, second, third;
  const std::string database = TestDatabase(GetParam(), first.Folder());
  if (database.empty()) GTEST_SKIP() << "no PostgreSQL here (ctest runs this under pg_virtualenv)";
  const std::vector<const LeaderboardRun*> servers = {&first, &second, &third};
  for (LeaderboardRun* server : {&first, &second, &third}) {
    ASSERT_NO_FATAL_FAILURE(server->Start({"--database", database, "--rate", "4"}));
  }
  const auto statuses = [&](const std::vector<std::string>& proofs) {
    std::multiset<int> got;
    for (const HttpAnswer& answer : SendAtOnce(servers, proofs, 3)) got.insert(answer.status);
    return got;
  };
  const std::string proof = GoldenProof();
  EXPECT_EQ(statuses({proof, proof, proof}), (std::multiset<int>{200, 200, 201}));
  // Four submissions a minute from 127.0.0.1 in all: one is left for the three servers.
  EXPECT_EQ(statuses({GoldenProof("AAA", "", 1), GoldenProof("BBB", "", 2), GoldenProof("CCC", "", 3)}),
            (std::multiset<int>{201, 429, 429}));
  EXPECT_EQ(json::parse(third.Get("/api/v1/top").body)["total"], 2);
}

INSTANTIATE_TEST_SUITE_P(Databases, ServersOnOneDatabase, testing::Values("postgresql"),
                         [](const testing::TestParamInfo<std::string>& database) { return database.param; });

}  // namespace
