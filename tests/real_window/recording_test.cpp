// A game played in the real window under zimbrel-replay's recorder, as a player plays it
// (moves, swats, cream, a surrender, a name begun, out through the exit picture), and then its
// replay played headless: the same state lines, flip for flip, and the same Highscore.dat.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/file_bytes.h"
#include "tests/support/real_window_player.h"
#include "tests/support/state_line_fields.h"

namespace fs = std::filesystem;

namespace {

constexpr auto kPlayBackPatience = std::chrono::seconds(90);

class RealWindowRecording : public RealWindowPlayer {
 protected:
  // zimbrel-replay play in the run's folder, headless; its exit code.
  std::optional<int> PlayBack(const std::vector<std::string>& arguments) {
    ChildProcess::Options options;
    options.command = {(game_.Folder() / "zimbrel-replay").string(), "play"};
    options.command.insert(options.command.end(), arguments.begin(), arguments.end());
    options.environment = EnvironmentWith({});
    options.workingDirectory = game_.Folder();
    options.outputFile = game_.Folder() / "play.out";
    options.errorFile = game_.Folder() / "play.err";
    return RunToItsEnd(options, kPlayBackPatience).exitCode;
  }
};

TEST_F(RealWindowRecording, ASessionRecordedInTheWindowPlaysBackHeadlessToTheSameLinesAndTable) {
  ASSERT_NO_FATAL_FAILURE(Start({"zimbrel-replay", "record", "session.replay", "--lines",
                                 "live.lines", "--highscores", "live.dat"}));
  ASSERT_NO_FATAL_FAILURE(StartAGame());
  ASSERT_TRUE(See("stage 1", PlayScreen(0, 1, 4)));
  hand_.MoveTo({300, 200});
  ASSERT_TRUE(See("the swatter moved", PlayScreen(0, 1)));
  ASSERT_NO_FATAL_FAILURE(SwatUntilTheScoreIsAboveZero());
  ASSERT_NO_FATAL_FAILURE(DropCream());
  ASSERT_NO_FATAL_FAILURE(GiveUp());
  ASSERT_NO_FATAL_FAILURE(TypeName("Z  ", {"z"}));
  HoldKey("Escape");
  ASSERT_NO_FATAL_FAILURE(LeaveThroughTheExit());

  const fs::path folder = game_.Folder();
  const std::vector<std::string> live = FileLines(folder / "live.lines");
  EXPECT_EQ(FileBytes(folder / "live.dat"), HighscoreFileWithThisGame("Z  "));
  // The lines are this session's: its last play frame has the score seen on screen, and the
  // cream blob lay out on some frames.
  std::string lastPlayScore;
  bool creamOut = false;
  for (const std::string& line : live) {
    if (Field(line, "screen") == "3") lastPlayScore = Field(line, "score");
    creamOut = creamOut || (!Field(line, "blob").empty() && Field(line, "blob") != "-");
  }
  EXPECT_EQ(lastPlayScore, std::to_string(score_));
  EXPECT_TRUE(creamOut);

  ASSERT_EQ(PlayBack({"session.replay", "--lines", "played.lines", "--highscores", "played.dat"}),
            0)
      << FileText(folder / "play.err");
  EXPECT_EQ(FileText(folder / "play.err"), "");
  EXPECT_EQ(FirstDifference(live, FileLines(folder / "played.lines")), "");
  EXPECT_EQ(FileBytes(folder / "played.dat"), FileBytes(folder / "live.dat"));
}

}  // namespace
