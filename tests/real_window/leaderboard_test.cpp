// A game kept while the leaderboard could not be reached waits in replays/unsent/, and the
// game sends it at its next start, to the leaderboard its player's config file names.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "tests/support/file_bytes.h"
#include "tests/support/leaderboard_run.h"
#include "tests/support/real_game.h"
#include "tests/support/screen_places.h"

namespace {

namespace fs = std::filesystem;

TEST(RealWindowLeaderboard, AGameKeptOfflineIsSentAtTheNextStart) {
  LeaderboardRun leaderboard;
  ASSERT_NO_FATAL_FAILURE(leaderboard.Start());
  // The player's folder as the game left it offline, and the config file naming the leaderboard.
  const fs::path home = leaderboard.Folder() / "player";
  for (const char* folder : {"gfx", "snd"}) fs::create_directories(home / "games" / folder);
  for (const char* folder : {"gfx", "snd"}) {
    for (const auto& file : fs::directory_iterator(fs::path(ZIMBREL_RUN_DIR) / folder)) {
      fs::create_symlink(file.path(), home / "games" / folder / file.path().filename());
    }
  }
  fs::create_directories(home / "games/replays/unsent");
  WriteText(home / "games/replays/unsent/2026-12-10_09-00-00_GLD_197530.replay", GoldenProof());
  fs::create_directories(home / "config/zimbrel");
  WriteText(home / "config/zimbrel/leaderboard", leaderboard.Url() + "\n");

  XvfbDisplay display(kGameWidth, kGameHeight);
  ASSERT_TRUE(display.Ready()) << display.Error();
  RealGame game(display, {{"XDG_CONFIG_HOME", (home / "config").string()}});
  ASSERT_TRUE(game.StartCommand({fs::path(ZIMBREL_RUN_DIR) / "zimbrel"}, home / "games"));
  const std::optional<nlohmann::json> top = leaderboard.WaitForGames(1);
  ASSERT_TRUE(top) << leaderboard.Log() << game.Output();
  EXPECT_EQ((*top)["games"][0]["name"], "GLD");
  EXPECT_EQ((*top)["games"][0]["score"], kGoldenScore);
  // The sender says so once it has the answer: a moment after the leaderboard has it.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!fs::is_empty(home / "games/replays/unsent") && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  game.SendWindowClose();
  EXPECT_EQ(game.WaitForExit(), 0) << game.Output();
  EXPECT_TRUE(fs::is_empty(home / "games/replays/unsent"));
  EXPECT_NE(game.Output().find("Zimbrel: the leaderboard at " + leaderboard.Url() + " ranks GLD (197,530) 1 of 1\n"),
            std::string::npos)
      << game.Output();
}

}  // namespace
