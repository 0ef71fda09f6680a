// The golden replays under tests/replays: each is played from a fresh start and must give,
// flip for flip, the state lines kept beside it, drawn and with the rules only, and the two
// runs the same Highscore.dat; and zimbrel-verify the verdict verify gives. A difference shows the first line that differs;
// tools/regenerate-golden-replays rewrites the lines, on purpose only.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "tests/support/golden_replays.h"
#include "tests/support/replay_tool_run.h"
#include "tests/support/run_folder.h"
#include "tests/support/state_line_fields.h"

namespace {

namespace fs = std::filesystem;

const fs::path kGoldens = GoldenReplaysFolder();

class GoldenReplay : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenReplay, GivesTheSameStateLinesFlipForFlipDrawnOrWithTheRulesOnly) {
  EnterRunFolder();
  const fs::path replay = kGoldens / (GetParam() + ".replay");
  const std::vector<std::string> expected = FileLines(kGoldens / (GetParam() + ".lines"));
  for (const std::string way : {"drawn", "rules"}) {
    std::vector<std::string> arguments = {"play",         replay.string(), "--lines",
                                          way + ".lines", "--highscores",  way + ".dat"};
    if (way == "rules") arguments.push_back("--rules-only");
    const ReplayToolRun run = RunReplayTool(arguments);
    ASSERT_EQ(run.exitCode, 0) << way << ": " << run.errors;
    EXPECT_EQ(FirstDifference(expected, FileLines(way + ".lines")), "")
        << GetParam() << ".lines, " << way;
  }
  EXPECT_EQ(FileBytes("rules.dat"), FileBytes("drawn.dat"));
}

// zimbrel-verify plays the rules over no SDL at all: it must judge every golden, game for game
// (name, score, swats, stage, flip), as verify judges it over the drawing platform.
TEST_P(GoldenReplay, IsJudgedTheSameWithoutSdl) {
  EnterRunFolder();
  const std::string replay = (kGoldens / (GetParam() + ".replay")).string();
  const ReplayToolRun overSdl = RunReplayTool({"verify", replay});
  const ReplayToolRun alone = RunRulesOnlyVerifier({replay});
  EXPECT_EQ(alone.exitCode, overSdl.exitCode) << alone.errors;
  EXPECT_EQ(alone.output, overSdl.output);
}

// A CPU-time cap far below what the check costs: each verifier stops the game at the flip that
// first heeds it, and says so. The cap is told at the kernel's tick, some milliseconds late, so
// the check must cost many ticks more than the cap on the fastest machine: two hours of title.
TEST(GoldenReplayCapped, StopsAtAFlipPastTheCap) {
  EnterRunFolder();
  WriteText("idle.replay", IdleTitle(12));
  for (const ReplayToolRun& run : {RunReplayTool({"verify", "idle.replay", "--cpu-limit", "0.02"}),
                                   RunRulesOnlyVerifier({"idle.replay", "--cpu-limit", "0.02"})}) {
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_TRUE(std::regex_search(run.errors, std::regex("ran past its CPU-time cap of 0.02 s at flip [0-9]+; it does "
                                                         "not bring the game to its end")))
        << run.errors;
  }
}

INSTANTIATE_TEST_SUITE_P(Each, GoldenReplay, ::testing::ValuesIn(GoldenReplayNames()),
                         [](const ::testing::TestParamInfo<std::string>& param) {
                           return param.param;
                         });

}  // namespace
