// The server's handlers in-process, with a stand-in for the verifiers: the status of each
// verdict, a play ranked once whatever proof brings it, an address held to its rate and its
// checking time, a refusal remembered and identical proofs checked once, and a pool that
// takes no more.
#include <gtest/gtest.h>
#include <httplib.h>

#include <nlohmann/json.hpp>

#include <atomic>
#include <filesystem>
#include <map>
#include <thread>
#include <tuple>

#include "leaderboard/leaderboard_server.h"
#include "leaderboard/season.h"
#include "platform/files/temporary_folder.h"
#include "tests/support/leaderboard_run.h"

namespace {

using nlohmann::json;
namespace fs = std::filesystem;

// Answers each proof with the verdict the test gave its text (not proven by default), at once.
class StandIn final : public Verifier {
 public:
  std::optional<std::future<ProofVerdict>> Submit(std::string proof, Refusal* refusal) override {
    ++submitted;
    if (refuseWith) {
      *refusal = *refuseWith;
      return std::nullopt;
    }
    std::promise<ProofVerdict> answer;
    const auto given = verdicts.find(proof);
    answer.set_value(given != verdicts.end() ? given->second : ProofVerdict{ProofOutcome::NotProven, {}, false, "proof: no", 0});
    return answer.get_future();
  }
  size_t Waiting() override { return 0; }

  std::map<std::string, ProofVerdict> verdicts;
  std::optional<Refusal> refuseWith;
  std::atomic<int> submitted{0};
};

ProofVerdict Proves(const std::vector<ProvenGame>& games, double cpu = 0.01) {
  return ProofVerdict{ProofOutcome::Proven, games, true, "", cpu};
}

ProvenGame Game(const std::string& name, const std::string& key) {
  return ProvenGame{name, 1200, {2, 1, 0, 0, 0, 0, 0, 0}, 1, 812, key, {}};
}

// The server on a fresh SQLite file, answering on a thread of its own until the end of scope.
class InProcess {
 public:
  explicit InProcess(const std::vector<std::string>& arguments = {}) {
    folder_ = MakeTemporaryFolder("zimbrel-handlers").value();
    std::vector<std::string> line = {"--listen", "127.0.0.1:0", "--database", "sqlite:" + (folder_ / "db").string()};
    line.insert(line.end(), arguments.begin(), arguments.end());
    store_ = OpenGameStore(ParseServerCommandLine(line).options.database);
    server_ = std::make_unique<LeaderboardServer>(*store_, verifier, ParseServerCommandLine(line).options);
    std::string error;
    EXPECT_TRUE(server_->Bind(&error)) << error;
    serving_ = std::thread([this] { server_->Serve(); });
  }
  ~InProcess() {
    server_->Stop();
    serving_.join();
    server_.reset();
    store_.reset();
    fs::remove_all(folder_);
  }
  HttpAnswer Post(const std::string& proof) const { return HttpPost(server_->Port(), proof); }
  int Port() const { return server_->Port(); }
  GameStore& Store() { return *store_; }

  StandIn verifier;

 private:
  fs::path folder_;
  std::unique_ptr<GameStore> store_;
  std::unique_ptr<LeaderboardServer> server_;
  std::thread serving_;
};

TEST(LeaderboardHandlers, EachVerdictHasItsStatusAndOnePlayItsRow) {
  InProcess server({"--rate", "1000"});
  const std::vector<std::tuple<ProofOutcome, int, const char*>> refusals = {
      {ProofOutcome::Unreadable, 400, ""},   {ProofOutcome::NotProven, 422, ""},
      {ProofOutcome::Crashed, 500, ""},      {ProofOutcome::CheckFailed, 503, "30"},
      {ProofOutcome::Stopping, 503, "30"},
  };
  for (const auto& [outcome, status, retry] : refusals) {
    const std::string proof = "verdict " + std::to_string(static_cast<int>(outcome));
    server.verifier.verdicts[proof] = ProofVerdict{outcome, {}, false, "proof: why " + proof, 0};
    HttpAnswer answer = server.Post(proof);
    EXPECT_EQ(answer.status, status) << proof;
    EXPECT_EQ(json::parse(answer.body)["error"], "proof: why " + proof);
    EXPECT_EQ(answer.headers["retry-after"], retry) << proof;
  }
  server.verifier.verdicts["no game"] = Proves({});
  EXPECT_EQ(server.Post("no game").status, 422);

  // Two texts of one play, then another play: the first text keeps the row and its name.
  server.verifier.verdicts["first"] = Proves({Game("AAA", "play 1")});
  server.verifier.verdicts["copy"] = Proves({Game("BBB", "play 1")});
  server.verifier.verdicts["other"] = Proves({Game("BBB", "play 2")});
  const HttpAnswer first = server.Post("first");
  ASSERT_EQ(first.status, 201) << first.body;
  const HttpAnswer copy = server.Post("copy");
  EXPECT_EQ(copy.status, 200);
  EXPECT_EQ(json::parse(copy.body)["game"], json::parse(first.body)["game"]);
  EXPECT_EQ(json::parse(copy.body)["game"]["name"], "AAA");
  EXPECT_EQ(server.Post("other").status, 201);
}

TEST(LeaderboardHandlers, HoldsEachAddressToItsRateAndItsCheckingTime) {
  {
    InProcess server({"--rate", "2"});
    EXPECT_EQ(server.Post("a").status, 422);
    EXPECT_EQ(server.Post("b").status, 422);
    HttpAnswer refused = server.Post("c");
    EXPECT_EQ(refused.status, 429);
    EXPECT_NE(refused.body.find("too many submissions from 127.0.0.1; try again in 30 s"), std::string::npos)
        << refused.body;
    EXPECT_EQ(refused.headers["retry-after"], "30");
    EXPECT_EQ(server.verifier.submitted, 2);
    httplib::Client reader("127.0.0.1", server.Port());
    EXPECT_EQ(reader.Get("/api/v1/top")->status, 200) << "reading is not held to the rate";
  }
  // A tenth of a second a minute, each check taking 0.06 s: the second overspends it by 0.02 s,
  // which fills again in 12 s.
  InProcess server({"--rate", "1000", "--cpu-budget", "0.1"});
  for (const char* proof : {"a", "b", "c"}) server.verifier.verdicts[proof] = Proves({Game("AAA", proof)}, 0.06);
  EXPECT_EQ(server.Post("a").status, 201);
  EXPECT_EQ(server.Post("b").status, 201);
  const HttpAnswer spent = server.Post("c");
  EXPECT_EQ(spent.status, 429);
  EXPECT_NE(spent.body.find("the proofs from 127.0.0.1 have taken their minute's checking time; try again in 12 s"),
            std::string::npos)
      << spent.body;
  EXPECT_EQ(server.verifier.submitted, 2);
}

TEST(LeaderboardHandlers, ARefusalIsRememberedAndIdenticalProofsShareOneCheck) {
  InProcess server({"--rate", "1000"});
  std::vector<std::thread> senders;
  std::vector<HttpAnswer> answers(8);
  for (HttpAnswer& answer : answers) senders.emplace_back([&] { answer = server.Post("raised"); });
  for (std::thread& sender : senders) sender.join();
  answers.push_back(server.Post("raised"));
  for (const HttpAnswer& answer : answers) EXPECT_EQ(answer.status, 422) << answer.body;
  EXPECT_EQ(server.verifier.submitted, 1);
}

TEST(LeaderboardHandlers, APoolThatTakesNoMoreSaysWhy) {
  InProcess server;
  const std::vector<std::pair<Verifier::Refusal, std::string>> refusals = {
      {Verifier::Refusal::QueueFull, "every verifier is busy and the queue is full"},
      {Verifier::Refusal::Stopping, "the server is stopping"},
  };
  for (const auto& [refusal, said] : refusals) {
    server.verifier.refuseWith = refusal;
    const HttpAnswer answer = server.Post("proof " + said);
    EXPECT_EQ(answer.status, 503);
    EXPECT_NE(answer.body.find(said), std::string::npos) << answer.body;
  }
}

// The world's table and a player's games as pages of 50, on both databases: 50 games make one
// page and the 51st a second; past the last page, and a name with no game shown, a 404 page.
class TablePages : public testing::TestWithParam<std::string> {};

TEST_P(TablePages, PageFiftyGamesAWeekAndAPlayerAndLinkEachToItsGame) {
  const fs::path folder = MakeTemporaryFolder("zimbrel-table").value();
  const std::string database = TestDatabase(GetParam(), folder);
  if (database.empty()) GTEST_SKIP() << "no PostgreSQL here (ctest runs this under pg_virtualenv)";
  InProcess server({"--database", database});
  httplib::Client reader("127.0.0.1", server.Port());
  const auto page = [&](const std::string& path, int status) {
    const httplib::Result answer = reader.Get(path);
    EXPECT_EQ(answer->status, status) << path;
    return answer->body;
  };
  const auto rows = [](const std::string& html) {
    int count = 0;
    for (size_t at = html.find("<tr style="); at != std::string::npos; at = html.find("<tr style=", at + 1)) ++count;
    return count;
  };
  const int64_t thisWeek = SeasonOf(std::time(nullptr)).from;
  // 50 games of this week, the worst of them a slash's player's; then one of an old week.
  for (int i = 0; i < 51; ++i) {
    const std::string key = "g" + std::to_string(i);
    const std::string name = i == 49 ? "A/B" : "P" + std::to_string(i % 3);
    server.Store().Keep({key, key, i < 50 ? thisWeek : 1000, {ProvenGame{name, 5000 - i, {}, 2, 99, key, {}}}, {}}, nullptr);
    if (i == 49) {
      EXPECT_EQ(rows(page("/", 200)), 50);
      EXPECT_EQ(page("/", 200).find("page=2"), std::string::npos) << "50 games make one page";
      EXPECT_NE(page("/?page=2", 404).find("<a href=\"/?page=1\">The last page</a>"), std::string::npos);
    }
  }
  const std::string first = page("/", 200);
  EXPECT_EQ(rows(first), 50);
  EXPECT_NE(first.find("<a href=\"/?page=2\">more games"), std::string::npos) << first;
  const std::string second = page("/?page=2", 200);
  EXPECT_EQ(rows(second), 1);
  EXPECT_NE(second.find("<td>51</td>"), std::string::npos) << second;
  EXPECT_NE(second.find("<a href=\"/\">&larr; better games"), std::string::npos) << second;
  page("/?page=3", 404);
  page("/?page=0", 400);
  const std::string week = page("/?season=" + SeasonOf(std::time(nullptr)).name, 200);
  EXPECT_EQ(rows(week), 50);
  EXPECT_EQ(week.find("page=2"), std::string::npos) << "the old week's game is not this week's";

  // The slash's player: their game, its world rank, its links; another name's games, not.
  const KeptGame theirs = server.Store().PlayerGames("A/B", 50, 0).games.at(0);
  const std::string player = page("/players/A%2FB", 200);
  EXPECT_EQ(rows(player), 1);
  for (const std::string& link : std::vector<std::string>{"<td>50</td>", "href=\"/players/A%2FB\">A/B</a>",
                                                          "href=\"/games/" + std::to_string(theirs.id) + "\">"}) {
    EXPECT_NE(player.find(link), std::string::npos) << link << " in " << player;
  }
  EXPECT_EQ(rows(page("/players/P0?page=1", 200)), 17);
  server.Store().Hide(theirs.id, "a test", "tester");
  EXPECT_NE(page("/players/A%2FB", 404).find("No game of A/B"), std::string::npos);
  page("/players/NOBODY", 404);
  fs::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(Databases, TablePages, testing::Values("sqlite", "postgresql"),
                         [](const testing::TestParamInfo<std::string>& database) { return database.param; });

}  // namespace
