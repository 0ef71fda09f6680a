// The review's rule, as zimbrel-replay analyze and a leaderboard apply it: the scripted player's
// games are held, its goldens among them, from its shortest with play enough to tell on; and the
// figures' bounds, where a hand's play ends and what no hand gives begins.
#include <gtest/gtest.h>

#include <string>

#include "replay/play_figures.h"
#include "tests/support/golden_replays.h"
#include "tests/support/replay_tool_run.h"
#include "tests/support/run_folder.h"

namespace {

constexpr char kBothSigns[] = "115 of its 115 presses were let go by the next read, a press no finger makes; its 39 aimed swats";

TEST(ReviewRule, HoldsTheScriptedPlayersGamesOnceTheyShowEnoughPlay) {
  EnterRunFolder();
  ASSERT_EQ(RunReplayTool({"autoplay", "two.replay", "--until-stage", "2", "--name", "TWO"}).exitCode, 0);
  ASSERT_EQ(RunReplayTool({"autoplay", "one.replay", "--until-stage", "1", "--name", "ONE"}).exitCode, 0);
  struct Case {
    std::string file;
    std::string said;  // "" : no game is named
  };
  std::vector<Case> cases = {{"two.replay", "TWO held for review: "},
                             // A stage won with one swat: seven presses, too few to tell by.
                             {"one.replay", "ONE shows nothing no hand gives"}};
  for (const std::string& golden : GoldenReplayNames()) {
    // The whole game shows both signs, the presses' and the swats'.
    const std::string said = golden == "whole_game" ? "GLD held for review: " + std::string(kBothSigns)
                             : golden == "boss_with_escapes" ? "ESC held for review: " : "";
    cases.push_back({(GoldenReplaysFolder() / (golden + ".replay")).string(), said});
  }
  for (const Case& game : cases) {
    const ReplayToolRun run = RunReplayTool({"analyze", game.file});
    if (game.said.empty()) {
      EXPECT_EQ(run.output.find(" played: "), std::string::npos) << run.output;
    } else {
      EXPECT_NE(run.output.find(game.file + ": " + game.said), std::string::npos) << run.output;
    }
  }
}

TEST(ReviewRule, HoldsAtTheBoundsOfAHandsPlay) {
  // A thousand reads over `ms`: 60 a second at 16,667 ms.
  const auto play = [](int64_t presses, int64_t oneRead, int64_t aimed, int64_t waitReads, int64_t ms) {
    PlayFigures figures;
    figures.mouseReads = 1000;
    figures.playMs = ms;
    figures.presses = presses;
    figures.oneReadPresses = oneRead;
    figures.aimedPresses = aimed;
    figures.medianWaitReads = waitReads;
    return figures;
  };
  const struct {
    PlayFigures figures;
    bool held;
  } cases[] = {{play(12, 11, 0, 0, 16'667), true},   {play(12, 10, 0, 0, 16'667), false},
               {play(11, 11, 0, 0, 16'667), false},  {play(12, 12, 0, 0, 25'000), true},
               {play(12, 12, 0, 0, 25'001), false},  {play(0, 0, 12, 2, 16'667), true},
               {play(0, 0, 12, 3, 16'667), false},   {play(0, 0, 11, 0, 16'667), false},
               {play(0, 0, 12, 2, 24'999), true},    {play(0, 0, 12, 2, 25'000), false}};
  for (const auto& [figures, held] : cases) {
    EXPECT_EQ(ReviewHold(figures).empty(), !held) << ShownFigures(figures);
  }
}

}  // namespace
