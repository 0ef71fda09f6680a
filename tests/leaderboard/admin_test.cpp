// zimbrel-leaderboard admin beside a running server, on both databases: a game hidden leaves
// the table, the API and its proof's download and stays off it when its proof comes again; a
// name and an address banned are refused with the reason; this week's table and another's; each change undone; every change in
// the log with its reason; wrong ids, names and databases refused with exit 2; a backup taken
// while the server runs holds the table; a game the review holds stays off the table until an
// operator restores it.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <chrono>
#include <ctime>
#include <thread>

#include "leaderboard/season.h"
#include "tests/support/child_process.h"
#include "tests/support/leaderboard_run.h"

namespace {

using nlohmann::json;

class LeaderboardAdmin : public testing::TestWithParam<std::string> {
 protected:
  FinishedRun Admin(const std::vector<std::string>& command) {
    std::vector<std::string> line = {ZIMBREL_LEADERBOARD, "admin", "--database", database_};
    line.insert(line.end(), command.begin(), command.end());
    return RunToItsEnd({line, EnvironmentWith({}), server_.Folder(), server_.Folder() / "admin.out", server_.Folder() / "admin.err"},
                       std::chrono::seconds(30));
  }
  // The command done, and what it said.
  std::string Done(const std::vector<std::string>& command) {
    const FinishedRun run = Admin(command);
    EXPECT_EQ(run.exitCode, 0) << command[0] << ": " << run.errors;
    return run.output;
  }
  std::vector<std::string> Ranked() const {
    std::vector<std::string> names;
    const json top = json::parse(server_.Get("/api/v1/top").body);
    for (const json& game : top["games"]) names.push_back(game["name"]);
    return names;
  }

  LeaderboardRun server_;
  std::string database_;
};

TEST_P(LeaderboardAdmin, HidesRestoresBansAndLogsEachChangeBesideARunningServer) {
  database_ = TestDatabase(GetParam(), server_.Folder());
  if (database_.empty()) GTEST_SKIP() << "no PostgreSQL here (ctest runs this under pg_virtualenv)";
  ASSERT_NO_FATAL_FAILURE(server_.Start({"--database", database_}));
  ASSERT_EQ(server_.Post(GoldenProof("AAA")).status, 201);
  ASSERT_EQ(server_.Post(GoldenProof("BBB", "", 1)).status, 201);
  ASSERT_EQ(Ranked(), (std::vector<std::string>{"AAA", "BBB"}));
  // This week's table holds them; another week's none; a week that no year has is refused.
  const std::string thisWeek = SeasonOf(std::time(nullptr)).name;
  EXPECT_EQ(json::parse(server_.Get("/api/v1/top?season=" + thisWeek).body)["total"], 2);
  EXPECT_EQ(json::parse(server_.Get("/api/v1/top?season=2000-W01").body)["total"], 0);
  EXPECT_EQ(server_.Get("/api/v1/top?season=2027-W53").status, 400);
  EXPECT_NE(server_.Get("/?season=" + thisWeek).body.find("<strong>This week</strong>"), std::string::npos);

  Done({"hide", "1", "--reason", "a bot's"});
  EXPECT_EQ(Ranked(), std::vector<std::string>{"BBB"});
  EXPECT_EQ(json::parse(server_.Get("/api/v1/top").body)["total"], 1);
  EXPECT_EQ(server_.Get("/api/v1/games/1").status, 404);
  EXPECT_EQ(server_.Get("/api/v1/games/1/replay").status, 404);
  EXPECT_EQ(server_.Get("/games/1").status, 404);
  HttpAnswer again = server_.Post(GoldenProof("AAA", "sent again"));
  EXPECT_EQ(again.status, 403);
  EXPECT_NE(again.body.find("game 1 was taken off the world's table: a bot's"), std::string::npos) << again.body;
  const std::string listed = Done({"list", "--name", "AAA"});
  EXPECT_NE(listed.find("1 AAA 197530 stage 10 "), std::string::npos) << listed;
  EXPECT_NE(listed.find(" hidden: a bot's\n"), std::string::npos) << listed;
  Done({"restore", "1"});
  EXPECT_EQ(Ranked(), (std::vector<std::string>{"AAA", "BBB"}));

  Done({"ban-name", "CCC", "--reason", "floods the table"});
  const HttpAnswer named = server_.Post(GoldenProof("CCC", "", 2));
  EXPECT_EQ(named.status, 403);
  EXPECT_NE(named.body.find("the name CCC is banned: floods the table"), std::string::npos) << named.body;
  Done({"unban-name", "CCC"});
  EXPECT_EQ(server_.Post(GoldenProof("CCC", "", 2)).status, 201);
  Done({"ban-address", "127.0.0.1", "--reason", "abuse"});
  EXPECT_EQ(server_.Post(GoldenProof("DDD", "", 3)).status, 403);
  Done({"unban-address", "127.0.0.1"});
  EXPECT_EQ(Ranked(), (std::vector<std::string>{"AAA", "BBB", "CCC"}));

  const struct {
    std::vector<std::string> command;
    std::string said;
  } wrong[] = {{{"hide", "99", "--reason", "x"}, "no game 99"},
               {{"hide", "2", "--reason", "x"}, ""},  // then hidden already
               {{"hide", "2", "--reason", "y"}, "game 2 is hidden already"},
               {{"restore", "3"}, "no hidden game 3"},
               {{"hide", "x1", "--reason", "x"}, "x1 is no game's id"},
               {{"hide", "3"}, "the command is not understood"},
               {{"ban-name", "TOOLONG", "--reason", "x"}, "is no name"},
               {{"unban-name", "ZZZ"}, "no ban of the name ZZZ"},
               {{"ban-address", "999.1.1.1", "--reason", "x"}, "is no IPv4 or IPv6 address"}};
  for (const auto& [command, said] : wrong) {
    const FinishedRun run = Admin(command);
    EXPECT_EQ(run.exitCode, said.empty() ? 0 : 2) << command[0] << " " << command[1] << ": " << run.errors;
    EXPECT_NE(run.errors.find(said), std::string::npos) << run.errors;
  }
  const std::string log = Done({"log"});
  const std::vector<std::string> actions = {"hide 1: a bot's", "restore 1", "ban-name CCC: floods the table",
                                            "unban-name CCC", "ban-address 127.0.0.1: abuse", "unban-address 127.0.0.1",
                                            "hide 2: x"};
  size_t at = 0;
  for (const std::string& action : actions) {
    at = log.find(" " + action + "\n", at);
    EXPECT_NE(at, std::string::npos) << action << " in order in:\n" << log;
  }

  if (GetParam() == "sqlite") {
    // Taken in the middle of a burst of new games: whole, and served as it was.
    std::thread burst([&] {
      for (int play = 10; play < 30; ++play) server_.Post(GoldenProof("EEE", "", play));
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    Done({"backup", "copy.sqlite"});
    burst.join();
    LeaderboardRun restored;
    ASSERT_NO_FATAL_FAILURE(restored.Start({"--database", "sqlite:" + (server_.Folder() / "copy.sqlite").string()}));
    const json top = json::parse(restored.Get("/api/v1/top?limit=100").body);
    EXPECT_GE(top["total"], 2);
    EXPECT_EQ(top["games"].size(), top["total"]);
  }
  database_ = "sqlite:" + (server_.Folder() / "none.sqlite").string();
  const FinishedRun none = Admin({"log"});
  EXPECT_EQ(none.exitCode, 2);
  EXPECT_NE(none.errors.find("none.sqlite: no such database"), std::string::npos) << none.errors;
}

// The scripted player's whole game, with the review on: kept but held (202, and again when its
// proof comes again), off the table and the API, listed as held, logged as the server's; ranked
// once an operator restores it.
TEST_P(LeaderboardAdmin, AGameNoHandPlaysIsHeldUntilAnOperatorRestoresIt) {
  database_ = TestDatabase(GetParam(), server_.Folder());
  if (database_.empty()) GTEST_SKIP() << "no PostgreSQL here (ctest runs this under pg_virtualenv)";
  ASSERT_NO_FATAL_FAILURE(server_.Start({"--database", database_, "--review", "on"}));
  for (const char* comment : {"", "sent again"}) {
    const HttpAnswer held = server_.Post(GoldenProof("HLD", comment));
    ASSERT_EQ(held.status, 202) << held.body;
    const json body = json::parse(held.body);
    EXPECT_EQ(body["held"], true);
    EXPECT_TRUE(body["reason"].get<std::string>().starts_with("game 1 is held for review: ")) << body;
  }
  EXPECT_TRUE(Ranked().empty());
  EXPECT_EQ(server_.Get("/api/v1/games/1").status, 404);
  EXPECT_NE(server_.Get("/metrics").body.find("zimbrel_proofs_total{outcome=\"held\"} 1\n"), std::string::npos);
  EXPECT_NE(Done({"list", "--held"}).find("1 HLD 197530 stage 10 "), std::string::npos);
  EXPECT_NE(Done({"log"}).find(" server hold 1: "), std::string::npos);

  Done({"restore", "1"});
  EXPECT_EQ(Ranked(), std::vector<std::string>{"HLD"});
  EXPECT_EQ(json::parse(server_.Get("/api/v1/games/1").body)["rank"], 1);
  EXPECT_EQ(Done({"list", "--held"}), "");
}

INSTANTIATE_TEST_SUITE_P(Databases, LeaderboardAdmin, testing::Values("sqlite", "postgresql"),
                         [](const testing::TestParamInfo<std::string>& database) { return database.param; });

}  // namespace
