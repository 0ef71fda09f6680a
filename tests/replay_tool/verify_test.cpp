// zimbrel-replay verify on replays written to a clock: a stage whose rules clock advances a
// whole number of milliseconds a flip, held to 1/60 s a flip whatever build its program line
// names. The first reading no game can have made is named at its exact flip, and a clock that
// keeps pace is proven. And the scripted player's game,
// which claims what it named, with each of its claims changed.
#include <gtest/gtest.h>

#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "tests/support/file_bytes.h"
#include "tests/support/replay_tool_run.h"
#include "tests/support/run_folder.h"

namespace {

// Play clicked, the intro clicked away at flip 2, where the stage clock starts at 1000 ms; one
// clock line a flip to flip 40, advancing `step` ms each (or going back by one at flip 30);
// the window closed at flip 41. Its line for flip F stands on line F + 5.
std::string StageOnAClock(const std::string& build, int step, bool goesBack = false) {
  std::string text = "zimbrel-replay 1\n# program: zimbrel 1.0.0 " + build + "\n";
  text += "0 0 mouse 264 175 1 0\n0 1 mouse 0 0 0 0\n2 0 mouse 0 0 1 0\n2 1 mouse 0 0 0 0\n";
  for (int flip = 2; flip <= 40; ++flip) {
    const int back = goesBack && flip >= 30 ? step * (flip - 29) + 1 : 0;
    text +=
        std::to_string(flip) + " 0 clock " + std::to_string(1000 + step * (flip - 2) - back) + "\n";
  }
  return text + "41 end\n";
}

struct ClockCase {
  const char* what;
  std::string build;
  int step;
  bool goesBack;
  std::optional<std::string> refusal;  // none: proven
};

TEST(ReplayVerify, AClockIsHeldToOneFloorInEveryBuildToTheFlip) {
  EnterRunFolder();
  // 16 ms a flip (under 1/60 s): 26 flips may fall short by the one flip of slack, 27 (432 ms,
  // where 433 must pass) may not, whatever build the program line names.
  const std::string slowed =
      "clock.replay:34: the rules clock advances 432 ms over the 27 flips since its reading "
      "of 1000 ms (line 7), where they take at least 433 ms";
  const ClockCase cases[] = {
      {"the desktop's pace", "desktop", 17, false, std::nullopt},
      {"a desktop's clock slowed", "desktop", 16, false, slowed},
      {"a browser's pace", "browser", 17, false, std::nullopt},
      {"a browser's clock held to the same floor", "browser", 16, false, slowed},
      {"a clock going back", "desktop", 17, true,
       "clock.replay:35: the rules clock goes back from 1459 ms (line 34) to 1458 ms"},
  };
  for (const ClockCase& clock : cases) {
    SCOPED_TRACE(clock.what);
    WriteText("clock.replay", StageOnAClock(clock.build, clock.step, clock.goesBack));
    const ReplayToolRun run = RunReplayTool({"verify", "clock.replay"});
    if (!clock.refusal) {
      EXPECT_EQ(run.exitCode, 0) << run.errors;
      EXPECT_EQ(run.output, "clock.replay: claims no game and enters none in the table\n");
      continue;
    }
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.errors, "zimbrel-replay: " + *clock.refusal + "\n");
  }
}

// The autoplayed game's claim line, its parts, and the replay with that line put otherwise.
struct Claim {
  std::string line;
  std::string name, score, swats, stage, flip;
};

TEST(ReplayVerify, EveryPartOfAClaimIsHeldToTheGameTheReplayNames) {
  EnterRunFolder();
  ReplayToolRun run = RunReplayTool({"autoplay", "game.replay", "--until-stage", "1"});
  ASSERT_EQ(run.exitCode, 0) << run.errors;
  const std::string replay = FileText("game.replay");
  std::smatch found;
  ASSERT_TRUE(std::regex_search(
      replay, found,
      std::regex("\n(# proves: (BOT) score ([0-9]+) swats ([0-9,]+) stage ([0-9]+) flip ([0-9]+))\n")))
      << replay.substr(0, 200);
  const Claim claim{found[1], found[2], found[3], found[4], found[5], found[6]};
  const std::string game = "game.replay:3: game 1 (BOT): ";
  auto claiming = [&](const std::string& line) {
    return std::regex_replace(replay, std::regex(claim.line), line);
  };
  auto with = [&](const std::string& score, const std::string& swats, const std::string& stage,
                  const std::string& flip, const std::string& name = "BOT") {
    return claiming("# proves: " + name + " score " + score + " swats " + swats + " stage " +
                    stage + " flip " + flip);
  };
  const std::string lower = std::to_string(std::stoi(claim.score) - 1);
  const std::string earlier = std::to_string(std::stoi(claim.stage) - 1);
  struct Case {
    const char* what;
    std::string text;
    int status;
    std::string said;  // on standard error, or for 0 the verdict on standard output
  };
  const std::vector<Case> cases = {
      {"as kept", replay, 0, "game.replay: proves what it claims"},
      {"a score a point lower", with(lower, claim.swats, claim.stage, claim.flip), 1,
       game + "the replay gives " + ShownScore(std::stoll(claim.score)) + ", the file claims " +
           ShownScore(std::stoll(lower))},
      {"a swat more that hit nothing", with(claim.score, "1" + claim.swats.substr(1), claim.stage, claim.flip), 1,
       game + "the replay gives the swats " + claim.swats + ", the file claims 1" +
           claim.swats.substr(1)},
      {"a stage short", with(claim.score, claim.swats, earlier, claim.flip), 1,
       game + "the replay reaches stage " + claim.stage + ", the file claims " + earlier},
      {"a flip later", with(claim.score, claim.swats, claim.stage, claim.flip + "0"), 1,
       game + "the replay names it at flip " + claim.flip + ", the file claims flip " +
           claim.flip + "0"},
      {"another name", with(claim.score, claim.swats, claim.stage, claim.flip, "B0T"), 1,
       "game.replay:3: game 1: the replay gives the name BOT, the file claims B0T"},
      {"a game more", claiming(claim.line + "\n" + claim.line), 1,
       "game.replay:4: the file claims 2 games, the replay enters 1 in the table"},
      {"no claim", claiming("# proves nothing"), 0,
       "game.replay: claims no game; it proves the games above"},
      {"a claim that does not read", claiming("# proves: BOT score many"), 2,
       "game.replay:3: a claim reads 'proves: NAME score N swats N,N,N,N,N,N,N,N stage N flip "
       "N', the name three capital letters or digits"},
  };
  for (const Case& doctored : cases) {
    SCOPED_TRACE(doctored.what);
    WriteText("game.replay", doctored.text);
    run = RunReplayTool({"verify", "game.replay"});
    EXPECT_EQ(run.exitCode, doctored.status);
    if (doctored.status == 0) {
      EXPECT_NE(run.output.find("game.replay: BOT "), std::string::npos) << run.output;
      EXPECT_TRUE(run.output.ends_with(doctored.said + "\n")) << run.output;
    } else {
      EXPECT_EQ(run.errors, "zimbrel-replay: " + doctored.said + "\n");
    }
  }
}

}  // namespace

// A name of fewer than three characters: the scripted player ends its entry with Escape, as a
// player would, and the game is in the table under it, named to no proof.
TEST(ReplayVerify, AShortNameIsEndedWithEscapeAndClaimsNoGame) {
  EnterRunFolder();
  const ReplayToolRun run =
      RunReplayTool({"autoplay", "short.replay", "--until-stage", "1", "--name", "S1", "--highscores", "table.dat"});
  ASSERT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_EQ(FileText("table.dat").substr(0, 4), std::string("S1 \0", 4));
  EXPECT_NE(RunReplayTool({"verify", "short.replay"}).output.find("claims no game"), std::string::npos);
}
