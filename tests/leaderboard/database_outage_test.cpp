// The server through its database's bad moments, without being restarted itself: PostgreSQL
// dropping its connections and restarting, SQLite's disk filling up and emptying again.
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <fstream>
#include <thread>

#include "leaderboard/sql_connection.h"
#include "tests/support/leaderboard_run.h"

namespace {

using nlohmann::json;
namespace fs = std::filesystem;

const std::string kDiskFull = "{\"error\":\"the database's disk is full\"}\n";

class PostgresOutage : public testing::TestWithParam<std::string> {};

TEST_P(PostgresOutage, DroppedConnectionsAndARestartAreMadeGoodWithinSeconds) {
  LeaderboardRun server;
  const std::string database = TestDatabase(GetParam(), server.Folder());
  if (database.empty()) GTEST_SKIP() << "no PostgreSQL here (ctest runs this under pg_virtualenv)";
  ASSERT_NO_FATAL_FAILURE(server.Start({"--database", database}));
  ASSERT_EQ(server.Post(GoldenProof("AAA")).status, 201);

  // Every connection the server holds, dropped: the next requests, reads and a write, each
  // meet a dead one and are answered on a new one.
  OpenPostgres(database)->Run(
      "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE pid <> pg_backend_pid() AND datname = current_database()");
  for (int request = 0; request < 5; ++request) EXPECT_EQ(server.Get("/api/v1/top").status, 200) << request;
  EXPECT_EQ(server.Post(GoldenProof("BBB", "", 1)).status, 201) << server.Log();

  ASSERT_EQ(std::system("pg_ctlcluster \"$PGVERSION\" regress restart"), 0);
  const auto restarted = std::chrono::steady_clock::now();
  while (server.Get("/healthz").status != 200 && std::chrono::steady_clock::now() - restarted < std::chrono::seconds(5)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  const HttpAnswer top = server.Get("/api/v1/top");
  ASSERT_EQ(top.status, 200) << server.Log();
  EXPECT_EQ(json::parse(top.body)["total"], 2);
}

INSTANTIATE_TEST_SUITE_P(Databases, PostgresOutage, testing::Values("postgresql"),
                         [](const testing::TestParamInfo<std::string>& database) { return database.param; });

// A disk of its own, 512 KiB of memory seen only by this process and the server it starts.
bool MountSmallDisk(const fs::path& at) {
  fs::create_directories(at);
  return unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
         mount("tmpfs", at.c_str(), "tmpfs", 0, "size=512k") == 0;
}

TEST(SqliteOutage, AFullDiskIsSaidSoAndTheGamesComeInOnceItHasRoom) {
  LeaderboardRun server;
  const fs::path disk = server.Folder() / "disk";
  if (geteuid() != 0 || !MountSmallDisk(disk)) GTEST_SKIP() << "mounting a small disk takes root";
  ASSERT_NO_FATAL_FAILURE(server.Start({"--database", "sqlite:" + (disk / "games.sqlite").string()}));
  ASSERT_EQ(server.Post(GoldenProof("AAA")).status, 201);

  {
    std::ofstream filler(disk / "filler", std::ios::binary);
    const std::string block(4096, 'x');
    while (filler.write(block.data(), block.size()) && filler.flush()) {
    }
  }
  for (const HttpAnswer& refused : {server.Post(GoldenProof("BBB", "", 1)), server.Get("/healthz")}) {
    EXPECT_EQ(refused.status, 503);
    EXPECT_EQ(refused.body, kDiskFull);
  }

  fs::remove(disk / "filler");
  EXPECT_EQ(server.Post(GoldenProof("BBB", "", 1)).status, 201) << server.Log();
  EXPECT_EQ(server.Get("/healthz").status, 200);
  server.Process().Stop();
  umount2(disk.c_str(), MNT_DETACH);
}

}  // namespace
