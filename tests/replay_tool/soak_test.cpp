// zimbrel-replay soak for a few seconds of game time: two games in one process, the second
// started from the title's Play button after the first, each with its memory, descriptors and
// highscore reload checked by the tool.
#include <gtest/gtest.h>

#include <regex>

#include "tests/support/replay_tool_run.h"
#include "tests/support/run_folder.h"

namespace {

TEST(ReplaySoak, TwoGamesBackToBackInOneProcessKeepMemoryDescriptorsAndHighscores) {
  EnterRunFolder();
  const ReplayToolRun run = RunReplayTool({"soak", "--minutes", "0.05"});
  ASSERT_EQ(run.exitCode, 0) << run.output << run.errors;

  const std::regex gameLine(R"(game (\d+): score (-?\d+), ended at [\d.]+ s of game time, )"
                            R"(VmRSS (\d+) kB, (\d+) open descriptors\n)");
  std::vector<std::smatch> games;
  for (auto it = std::sregex_iterator(run.output.begin(), run.output.end(), gameLine);
       it != std::sregex_iterator(); ++it) {
    games.push_back(*it);
  }
  ASSERT_EQ(games.size(), 2u) << run.output;
  for (size_t k = 0; k < games.size(); ++k) {
    EXPECT_EQ(games[k][1], std::to_string(k + 1));
    // Played (the first gives up after stage 2, the second after stage 1), not given up at
    // the first read of the game.
    EXPECT_GT(std::stol(games[k][2]), 0) << run.output;
    EXPECT_GT(std::stol(games[k][3]), 0);
    EXPECT_GE(std::stol(games[k][4]), 3);  // at least the three standard streams
  }
  // The player's own table is left alone.
  EXPECT_FALSE(std::filesystem::exists("Highscore.dat"));
}

}  // namespace
