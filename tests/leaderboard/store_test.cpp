// The store on both databases: SQLite in a fresh file, and PostgreSQL where the test runs
// under pg_virtualenv (ctest's LeaderboardStorePostgres does), which sets libpq's environment.
// Each proof and game is kept once, whichever way it comes; the ranking's order and ties; a
// proof's bytes come back exactly; the schema made, brought up to date from its first version,
// and refused when it is newer.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <tuple>

#include "leaderboard/game_store.h"
#include "leaderboard/game_views.h"
#include "leaderboard/schema.h"
#include "leaderboard/season.h"
#include "platform/files/temporary_folder.h"
#include "replay/sha256.h"
#include "tests/support/leaderboard_run.h"

namespace {

namespace fs = std::filesystem;

class StoreTest : public testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    folder_ = MakeTemporaryFolder("zimbrel-store").value();
    address_ = TestDatabase(GetParam(), folder_);
    if (address_.empty()) GTEST_SKIP() << "no PostgreSQL here (ctest runs these under pg_virtualenv)";
    store_ = OpenGameStore(address_);
  }
  void TearDown() override {
    store_.reset();
    fs::remove_all(folder_);
  }

  static ProvenGame Game(const std::string& key, const std::string& name, int32_t score, uint64_t flip) {
    return ProvenGame{name, score, {3, 1, 0, 2, 0, 0, 0, 1}, 4, flip, key, {}};
  }
  static ProofToKeep Proof(const std::string& hash, std::vector<ProvenGame> games, int64_t at = 1000) {
    return ProofToKeep{hash, "zimbrel-replay 1\n# " + hash + "\n", at, std::move(games), {}};
  }

  std::string address_;
  fs::path folder_;
  std::unique_ptr<GameStore> store_;
};

TEST_P(StoreTest, KeepsEachGameOnceWhicheverProofBringsIt) {
  std::vector<bool> fresh;
  const std::vector<KeptGame> first = store_->Keep(Proof("p1", {Game("a", "AAA", 500, 900)}), &fresh);
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(fresh, std::vector<bool>{true});
  EXPECT_EQ(first[0].receivedAt, 1000);
  // The same proof again, and the session's next proof that also claims the first game.
  EXPECT_EQ(store_->Keep(Proof("p1", {Game("a", "AAA", 500, 900)}, 2000), &fresh), first);
  EXPECT_EQ(fresh, std::vector<bool>{false});
  const std::vector<KeptGame> second =
      store_->Keep(Proof("p2", {Game("a", "AAA", 500, 900), Game("b", "BBB", 700, 1800)}, 3000), &fresh);
  EXPECT_EQ(fresh, (std::vector<bool>{false, true}));
  ASSERT_EQ(second.size(), 2u);
  EXPECT_EQ(second[0], first[0]);
  EXPECT_EQ(second[1].receivedAt, 3000);
  EXPECT_EQ(store_->Top(1, 0, std::nullopt).total, 2);
  EXPECT_EQ(store_->GamesOfProof("p2"), second);
  EXPECT_EQ(store_->GamesOfProof("p1"), first);
  EXPECT_TRUE(store_->GamesOfProof("unknown").empty());
  EXPECT_EQ(store_->Game(second[1].id), second[1]);
  EXPECT_EQ(store_->ProofOf(first[0].id), "zimbrel-replay 1\n# p1\n");
  EXPECT_EQ(store_->ProofOf(second[1].id), "zimbrel-replay 1\n# p2\n");
  EXPECT_FALSE(store_->Game(second[1].id + 100));
  EXPECT_FALSE(store_->ProofOf(second[1].id + 100));
}

TEST_P(StoreTest, RanksByScoreThenByTheGameKeptFirst) {
  // Kept in this order; equal scores rank by the order they came in, as in the game's table.
  // The scores fall in runs of 1024 points counted apart: both sides of 0, and edges of runs.
  const std::vector<std::pair<std::string, int32_t>> games = {
      {"AAA", 300},  {"BBB", 1024}, {"CCC", 300},    {"DDD", -100}, {"EEE", 300},
      {"FFF", 1023}, {"GGG", -1024}, {"HHH", 250000}, {"III", 2047}, {"JJJ", -5000}};
  std::vector<KeptGame> kept;
  for (const auto& [name, score] : games) {
    kept.push_back(store_->Keep(Proof(name, {Game(name, name, score, 10)}), nullptr).at(0));
  }
  const std::vector<std::string> order = {"HHH", "III", "BBB", "FFF", "AAA", "CCC", "EEE", "DDD", "GGG", "JJJ"};
  for (size_t offset = 0; offset <= order.size(); ++offset) {
    std::vector<std::string> page;
    for (const KeptGame& game : store_->Top(3, static_cast<int64_t>(offset), std::nullopt).games) page.push_back(game.name);
    const std::vector<std::string> expected(order.begin() + static_cast<long>(offset),
                                            order.begin() + static_cast<long>(std::min(offset + 3, order.size())));
    EXPECT_EQ(page, expected) << "from " << offset;
  }
  for (const KeptGame& game : kept) {
    const auto rank = std::find(order.begin(), order.end(), game.name) - order.begin() + 1;
    EXPECT_EQ(store_->StandingOf({game}).ranks.at(0), rank) << game.name;
  }
  EXPECT_EQ(store_->Top(1, 0, std::nullopt).total, 10);
}

TEST_P(StoreTest, KeepsAnyBytesAndAnyTextLiterally) {
  std::string bytes = "zimbrel-replay 1\n# \xff\xfe";
  bytes += std::string(1, '\0') + "'); DROP TABLE games; --\n";
  const ProvenGame game = Game("k'; DELETE FROM games; --", "'--", 1, 2);
  const KeptGame kept = store_->Keep(ProofToKeep{"h\"", bytes, 5, {game}, {}}, nullptr).at(0);
  EXPECT_EQ(store_->Game(kept.id)->name, "'--");
  EXPECT_EQ(store_->ProofOf(kept.id), bytes);
  EXPECT_EQ(store_->Top(1, 0, std::nullopt).total, 1);
}

TEST_P(StoreTest, ProofsKeptAtOnceFromManyThreadsKeepEachGameOnce) {
  std::vector<std::thread> threads;
  std::vector<std::vector<KeptGame>> answers(8);
  std::vector<std::vector<bool>> fresh(8);
  for (size_t t = 0; t < answers.size(); ++t) {
    threads.emplace_back([&, t] {
      // Two proofs of one session, each sent four times.
      answers[t] = store_->Keep(t % 2 ? Proof("q2", {Game("x", "XXX", 10, 5), Game("y", "YYY", 20, 9)})
                                      : Proof("q1", {Game("x", "XXX", 10, 5)}),
                                &fresh[t]);
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(store_->Top(1, 0, std::nullopt).total, 2);
  // Each game is said to be new to exactly one of them.
  int freshX = 0;
  int freshY = 0;
  for (const std::vector<bool>& said : fresh) {
    freshX += said[0];
    freshY += said.size() > 1 && said[1];
  }
  EXPECT_EQ(freshX, 1);
  EXPECT_EQ(freshY, 1);
  for (const auto& answer : answers) EXPECT_EQ(answer.front(), answers[0].front());
  EXPECT_EQ(store_->GamesOfProof("q2").size(), 2u);
}

// A page and its total, and ranks and their total, are each read at one moment while games
// are being kept: never a total that counts a game the page or the rank has not met.
TEST_P(StoreTest, APageAndItsTotalAreReadAtOneMomentWhileGamesAreKept) {
  std::atomic<bool> keeping = true;
  std::thread keeper([&] {
    for (int game = 0; game < 60; ++game) {
      const std::string key = "g" + std::to_string(game);
      store_->Keep(Proof(key, {Game(key, "GGG", game * 700, 5)}), nullptr);
    }
    keeping = false;
  });
  std::string torn;
  for (int read = 0; torn.empty() && (keeping || read == 0); ++read) {
    const TopGames top = store_->Top(100, 0, std::nullopt);
    if (static_cast<int64_t>(top.games.size()) != top.total) {
      torn = "read " + std::to_string(read) + ": " + std::to_string(top.games.size()) + " games of " +
             std::to_string(top.total);
    } else if (!top.games.empty()) {
      // Each game kept outscores the ones before: the first is last at every moment.
      const Standing standing = store_->StandingOf({top.games.back()});
      if (standing.ranks.at(0) != standing.total) {
        torn = "read " + std::to_string(read) + ": rank " + std::to_string(standing.ranks.at(0)) + " of " +
               std::to_string(standing.total);
      }
    }
  }
  keeper.join();
  EXPECT_EQ(torn, "");
  EXPECT_EQ(store_->Top(100, 0, std::nullopt).total, 60);
}

// A week's table holds the games whose first proof came from its Monday 00:00:00 UTC to the
// second before the next, ranked among themselves.
TEST_P(StoreTest, AWeeksTableHoldsTheGamesItsWeekReceived) {
  const Season week = SeasonNamed("2026-W50").value();
  for (const auto& [name, at, score] : {std::tuple{"OLD", week.from - 1, 900}, std::tuple{"MON", week.from, 100},
                                        std::tuple{"SUN", week.to - 1, 300}, std::tuple{"NEW", week.to, 800}}) {
    store_->Keep(Proof(name, {Game(name, name, score, 10)}, at), nullptr);
  }
  const TopGames top = store_->Top(10, 0, week);
  std::vector<std::string> names;
  for (const KeptGame& game : top.games) names.push_back(game.name);
  EXPECT_EQ(names, (std::vector<std::string>{"SUN", "MON"}));
  EXPECT_EQ(top.total, 2);
  EXPECT_EQ(store_->Top(10, 1, week).games.at(0).name, "MON");
  EXPECT_EQ(store_->Top(10, 0, std::nullopt).total, 4);
}

// A hidden game is counted nowhere: not in a page, the total, nor in a rank above or beside
// another; restored, it is counted again.
TEST_P(StoreTest, AHiddenGameLeavesEveryRankAndComesBackWhole) {
  std::vector<KeptGame> kept;
  for (const auto& [name, score] : {std::pair{"LOW", 300}, std::pair{"TOP", 500}, std::pair{"TIE", 500}}) {
    kept.push_back(store_->Keep(Proof(name, {Game(name, name, score, 10)}), nullptr).at(0));
  }
  store_->Hide(kept[1].id, "a test", "tester");
  EXPECT_EQ(store_->StandingOf(kept).ranks, (std::vector<int64_t>{2, 1, 1}));
  EXPECT_EQ(store_->Top(10, 0, std::nullopt).total, 2);
  EXPECT_EQ(store_->Top(10, 0, std::nullopt).games.at(0).name, "TIE");
  EXPECT_THROW(store_->Hide(kept[1].id, "again", "tester"), AdminRefusal);
  store_->Restore(kept[1].id, "tester");
  EXPECT_EQ(store_->StandingOf(kept).ranks, (std::vector<int64_t>{3, 1, 2}));
  EXPECT_EQ(store_->Top(10, 0, std::nullopt).total, 3);
}

TEST(Season, IsoWeeksByTheirNamesAndTheirMoments) {
  const struct {
    std::string name;
    std::optional<std::string> monday;  // the week's first day, UTC; none: no such week
  } weeks[] = {{"2026-W50", "2026-12-07"}, {"2026-W01", "2025-12-29"}, {"2026-W53", "2026-12-28"},
               {"2027-W53", std::nullopt}, {"2021-W01", "2021-01-04"}, {"2020-W53", "2020-12-28"},
               {"2026-W00", std::nullopt}, {"2026-W5", std::nullopt},  {"all", std::nullopt}};
  for (const auto& [name, monday] : weeks) {
    const std::optional<Season> season = SeasonNamed(name);
    ASSERT_EQ(season.has_value(), monday.has_value()) << name;
    if (!season) continue;
    EXPECT_EQ(UtcText(season->from), *monday + "T00:00:00Z") << name;
    EXPECT_EQ(season->to - season->from, 7 * 86400) << name;
    EXPECT_EQ(SeasonOf(season->from).name, name);
    EXPECT_EQ(SeasonOf(season->to - 1).name, name);
  }
}

TEST_P(StoreTest, MakesItsSchemaBringsItUpToDateAndRefusesANewerOne) {
  const KeptGame kept = store_->Keep(Proof("p", {Game("a", "AAA", 5, 1)}), nullptr).at(0);
  store_.reset();
  store_ = OpenGameStore(address_);  // opened again: migrated already, nothing lost
  EXPECT_EQ(store_->Game(kept.id), kept);
  store_.reset();
  std::unique_ptr<SqlConnection> db = address_.rfind("sqlite:", 0) == 0
                                          ? OpenSqlite(address_.substr(7))
                                          : OpenPostgres(address_);
  EXPECT_EQ(SchemaVersionOf(*db), NewestSchemaVersion());
  // A database as the first schema left it: the counts by runs of scores are made from its games.
  for (const char* later : {"DROP TABLE score_buckets", "DROP TABLE bans", "DROP TABLE audit", "DROP INDEX games_by_time", "DROP INDEX games_by_name", "DROP TABLE address_budgets",
                            "ALTER TABLE games DROP COLUMN hidden_reason", "ALTER TABLE games DROP COLUMN held"}) {
    db->Run(later, {});
  }
  db->Run("UPDATE schema_version SET version = 1", {});
  db.reset();
  store_ = OpenGameStore(address_);
  EXPECT_EQ(store_->Top(1, 0, std::nullopt).total, 1);
  EXPECT_EQ(store_->StandingOf({kept}).ranks.at(0), 1);
  store_.reset();
  db = address_.rfind("sqlite:", 0) == 0 ? OpenSqlite(address_.substr(7)) : OpenPostgres(address_);
  // A key of the text, from before games were keyed by their play, can meet no new key.
  EXPECT_EQ(db->Run("SELECT game_key FROM games", {}).at(0).at(0), "text:a");
  db->Run("UPDATE schema_version SET version = $1", {int64_t{NewestSchemaVersion() + 1}});
  try {
    OpenGameStore(address_);
    ADD_FAILURE() << "a schema newer than the server's was taken";
  } catch (const StoreError& refused) {
    EXPECT_NE(std::string(refused.what()).find("newer than this server's"), std::string::npos)
        << refused.what();
  }
}

INSTANTIATE_TEST_SUITE_P(Databases, StoreTest, testing::Values("sqlite", "postgresql"),
                         [](const testing::TestParamInfo<std::string>& database) { return database.param; });

TEST(ProofHash, IsSha256AcrossBlocks) {
  EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  Sha256 pieces;
  pieces.Add("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq");
  EXPECT_EQ(pieces.HexSoFar(), "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
}

TEST(StoreAddress, RefusesWhatNamesNoDatabase) {
  for (const std::string address : {"mysql://x", "sqlite:", "", "/tmp/file"}) {
    EXPECT_THROW(OpenGameStore(address), StoreError) << address;
  }
  EXPECT_THROW(OpenGameStore("sqlite:/nonexistent-folder/x.sqlite"), StoreError);
}

}  // namespace
