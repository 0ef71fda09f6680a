// zimbrel-replay playing replays written by hand: the whole program walks the menus and ends
// from a fresh start, clock lines time a stage out, the same replay played twice leaves the
// same files, a replay that cannot end the game is stopped, and a malformed replay is refused
// before anything runs.
#include <gtest/gtest.h>

#include <string>

#include "scores/highscore_file.h"
#include "scores/highscore_table.h"
#include "tests/support/replay_tool_run.h"
#include "tests/support/run_folder.h"
#include "tests/support/state_line_fields.h"

namespace fs = std::filesystem;

namespace {

// Replays written by hand, kept with the state lines they give (GoldenReplay checks those).
const fs::path kMenusReplay = fs::path(ZIMBREL_SOURCE_DIR) / "tests" / "replays" / "menus.replay";
const fs::path kTimeOutReplay =
    fs::path(ZIMBREL_SOURCE_DIR) / "tests" / "replays" / "time_out.replay";

// One field of every state line, each followed by a space.
std::string FieldOf(const std::vector<std::string>& stateLines, const std::string& name) {
  std::string values;
  for (const std::string& line : stateLines) {
    const std::string value = Field(line, name);
    values += (value.empty() ? "?" : value) + " ";
  }
  return values;
}

std::string Repeated(const std::string& value, int times) {
  std::string repeated;
  for (int i = 0; i < times; ++i) repeated += value + " ";
  return repeated;
}

std::string DefaultHighscoreFile() {
  FillDefaultHighscores();
  uint8_t bytes[kHighscoreFileBytes];
  EncodeHighscores(bytes);
  return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

class ReplayToolTest : public ::testing::Test {
 protected:
  void SetUp() override { EnterRunFolder(); }
};

TEST_F(ReplayToolTest, AHandWrittenReplayWalksTheMenusAndEndsTheProgramFromAFreshStart) {
  const std::string playersTable(kHighscoreFileBytes, 'P');
  WriteText("Highscore.dat", playersTable);

  const ReplayToolRun run =
      RunReplayTool({"play", kMenusReplay.string(), "--highscores", "menus.dat"});

  ASSERT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_EQ(run.errors, "");
  EXPECT_EQ(run.output, "zimbrel-replay: " + kMenusReplay.string() +
                            ": the game ended by itself after flip 44\n");
  // Started from the default table, written by the game's own shutdown; the player's kept.
  EXPECT_EQ(FileText("menus.dat"), DefaultHighscoreFile());
  EXPECT_EQ(FileText("Highscore.dat"), playersTable);
}

TEST_F(ReplayToolTest, ClockLinesTimeTheStageOutAtTheFlipTheySay) {
  const ReplayToolRun run =
      RunReplayTool({"play", kTimeOutReplay.string(), "--lines", "timeout.lines"});
  ASSERT_EQ(run.exitCode, 0) << run.errors;
  const std::vector<std::string> lines = FileLines("timeout.lines");
  // From the intro on sixty seconds are left: the clock stands at 1000 ms, whatever the
  // virtual clock does, until the reading at flip 20 moves it sixty seconds on. The OK box of
  // the time out flips twice; then the title and the exit picture.
  EXPECT_EQ(FieldOf(lines, "left"), "0 " + Repeated("60", 19) + "0 0 " + Repeated("-", 3));
  EXPECT_EQ(FieldOf(lines, "screen"), Repeated("3", 22) + "4 0 0 ");
}

TEST_F(ReplayToolTest, TheSameReplayPlayedTwiceLeavesTheSameLinesFramesSoundAndHighscores) {
  for (const char* run : {"first", "second"}) {
    fs::create_directory(run);
    const std::string out = std::string(run) + "/";
    const ReplayToolRun played =
        RunReplayTool({"play", kTimeOutReplay.string(), "--lines", out + "lines", "--png",
                       out + "frames", "--audio", out + "sound.wav", "--highscores",
                       out + "Highscore.dat"});
    ASSERT_EQ(played.exitCode, 0) << played.errors;
  }
  size_t files = 0;
  for (const auto& entry : fs::recursive_directory_iterator("first")) {
    if (!entry.is_regular_file()) continue;
    ++files;
    const fs::path twin = "second" / fs::relative(entry.path(), "first");
    EXPECT_EQ(FileText(entry.path()), FileText(twin)) << twin << " differs";
  }
  EXPECT_EQ(files, 3u + 25u);  // the lines, the sound, the highscores and a frame per flip
  // The flies buzz and the swatter swishes.
  const std::string sound = FileText("first/sound.wav");
  EXPECT_NE(sound.find_first_not_of('\0', 44), std::string::npos);
}

// --help: one command a line, each whole (an option's alternatives stay on their command's line).
TEST_F(ReplayToolTest, HelpShowsEveryCommandWholeOnALineOfItsOwn) {
  const ReplayToolRun run = RunReplayTool({"--help"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(run.output.find("\n  zimbrel-replay watch FILE [--flip N] [--fullscreen | --window] [--scale N] [--mute]\n"),
            std::string::npos)
      << run.output;
}

TEST_F(ReplayToolTest, AReplayThatCannotEndTheGameIsStoppedNotLeftHanging) {
  // Escape leads to the exit picture, which waits for a click that never comes.
  WriteText("waits.replay", "zimbrel-replay 1\n0 0 keys 1\n0 1 keys\n");
  ReplayToolRun run = RunReplayTool({"play", "waits.replay", "--highscores", "waits.dat"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.errors, "zimbrel-replay: waits.replay: the game waits for the player after flip 2: "
                        "it has read the mouse 1000 times and the replay has nothing more to end "
                        "the wait; stopped without the game's shutdown\n"
                        "zimbrel-replay: " + fs::absolute("waits.dat").string() +
                        ": not written, the game did not shut down\n");

  // The title runs on after the last line, with no end.
  WriteText("runs-on.replay", "zimbrel-replay 1\n0 0 mouse 5 5 0 0\n");
  run = RunReplayTool({"play", "runs-on.replay", "--lines", "runs-on.lines"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(run.errors.find("the replay's lines ran out, and 60 flips later the game still runs"),
            std::string::npos)
      << run.errors;
  EXPECT_EQ(FileLines("runs-on.lines").size(), 61u);
}

struct MalformedCase {
  const char* name;
  std::string text;
  std::string message;
};

TEST_F(ReplayToolTest, AMalformedReplayIsRefusedWithItsLineAndNothingRuns) {
  const MalformedCase cases[] = {
      {"unknown version", "zimbrel-replay 2\n0 end\n",
       "bad.replay:1: unknown version '2' (this tool reads version 1)"},
      {"a line that does not parse", "zimbrel-replay 1\n\n# a click\n0 0 mouse 4 4 down 0\n",
       "bad.replay:4: 'down' is not the left button (1 down, 0 up)"},
      {"reads out of order", "zimbrel-replay 1\n3 1 keys 1\n3 0 keys\n",
       "bad.replay:3: keys read 0 after flip 3 comes after read 1 on line 2; reads go in order"},
      {"the same read given twice", "zimbrel-replay 1\n3 0 keys\n3 0 keys 1\n",
       "bad.replay:3: keys read 0 after flip 3 is given twice (first on line 2)"},
      {"key code 0 among the keys held", "zimbrel-replay 1\n0 0 keys 42 0\n",
       "bad.replay:2: '0' is not a key code (1 to 255)"},
      {"a word after end", "zimbrel-replay 1\n4 end now\n",
       "bad.replay:2: 'end' takes nothing after it"},
      {"a flip before the previous one", "zimbrel-replay 1\n5 0 mouse 1 1 0 0\n4 end\n",
       "bad.replay:3: flip 4 comes after flip 5 of line 2; flips never go back"},
      // Thirty bytes that would play for years.
      {"a far-off flip", "zimbrel-replay 1\n1000000000000 end\n",
       "bad.replay:2: flip 1000000000000 comes 1000000000000 flips after the start; a replay "
       "leaves at most 36000 flips (ten minutes) between two lines"},
      {"ten minutes and a flip after a line", "zimbrel-replay 1\n9 0 keys\n36010 end\n",
       "bad.replay:3: flip 36010 comes 36001 flips after line 2; a replay leaves at most 36000 "
       "flips (ten minutes) between two lines"},
      {"an 8 MB word",
       "zimbrel-replay 1\n0 0 mouse " + std::string((8 << 20) - 64, '7') + " 0 0 0\n",
       "bad.replay:2: '" + std::string(40, '7') +
           "...' is not a motion in x (a whole number of counts)"},
      {"an escape sequence", "zimbrel-replay 1\n0 0 \x1b]0;owned\x07 0 0 0 0\n",
       "bad.replay:2: '\\x1B]0;owned\\x07' is not mouse, keys, clock or end"},
      {"a table after a read",
       "zimbrel-replay 1\n0 0 keys\nhighscores " + std::string(800, '0') + "\n",
       "bad.replay:3: the highscores line comes before every read and end"},
      {"a table of 399 bytes", "zimbrel-replay 1\nhighscores " + std::string(798, 'f') + "\n",
       "bad.replay:2: a highscores line holds Highscore.dat's 400 bytes as 800 hexadecimal digits"},
  };
  for (const MalformedCase& malformed : cases) {
    SCOPED_TRACE(malformed.name);
    WriteText("bad.replay", malformed.text);
    const ReplayToolRun run =
        RunReplayTool({"play", "bad.replay", "--lines", "bad.lines", "--highscores", "bad.dat"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.errors, std::string("zimbrel-replay: ") + malformed.message + "\n");
    EXPECT_EQ(run.output, "");
    EXPECT_FALSE(fs::exists("bad.lines"));
    EXPECT_FALSE(fs::exists("bad.dat"));
  }
}

}  // namespace
