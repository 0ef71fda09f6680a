// zimbrel-replay given what no game wrote: a file larger than a replay may be (1 GB of holes),
// the largest it takes with garbage at its end, a NUL byte, outputs onto a full disk, into a
// missing folder or over the replay, standard output on a full disk, and a signal in the
// middle of a play, an autoplay or a soak. Each is refused or reported for what it is, with the
// memory measured by /usr/bin/time.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "replay/replay_file.h"
#include "tests/support/child_process.h"
#include "tests/support/replay_tool_run.h"
#include "tests/support/run_folder.h"

namespace {

namespace fs = std::filesystem;

// Whatever the input, the tool stays within this (the largest replay it takes peaks at about
// 60 MB, a refused one at about 10 MB). Under AddressSanitizer, whose red zones and quarantine
// multiply what the parsed lines take (about 450 MB), only the refused file is held to it.
constexpr long kMostKilobytes = 100 * 1024;
#ifdef __SANITIZE_ADDRESS__
constexpr bool kMemoryMeasured = false;
#else
constexpr bool kMemoryMeasured = true;
#endif

struct MeasuredRun {
  std::optional<int> exitCode;
  std::string errors;
  long peakKilobytes = -1;
  double seconds = 0;
};

MeasuredRun RunMeasured(const std::vector<std::string>& arguments) {
  ChildProcess tool;
  ChildProcess::Options options;
  options.command = {"/usr/bin/time", "-f", "peak %M", ZIMBREL_REPLAY_TOOL};
  options.command.insert(options.command.end(), arguments.begin(), arguments.end());
  options.environment = EnvironmentWith({});
  options.outputFile = fs::absolute("replay-tool.out");
  options.errorFile = fs::absolute("replay-tool.err");
  std::string error;
  MeasuredRun run;
  const auto start = std::chrono::steady_clock::now();
  if (!tool.Start(options, &error)) {
    ADD_FAILURE() << error;
    return run;
  }
  run.exitCode = tool.WaitForExit(std::chrono::seconds(90));
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.errors = FileText(options.errorFile);
  const size_t peak = run.errors.rfind("peak ");
  if (peak != std::string::npos) run.peakKilobytes = std::stol(run.errors.substr(peak + 5));
  return run;
}

class ReplayToolLimits : public ::testing::Test {
 protected:
  void SetUp() override { EnterRunFolder(); }
};

TEST_F(ReplayToolLimits, AFileLargerThanAReplayMayBeIsRefusedUnreadAndTheLargestItTakesStaysSmall) {
  {
    std::ofstream holes("holes.replay");
  }
  fs::resize_file("holes.replay", 1ull << 30);  // 1 GB of zero bytes, none on the disk
  MeasuredRun run = RunMeasured({"play", "holes.replay"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.errors.substr(0, run.errors.find('\n') + 1),
            "zimbrel-replay: holes.replay: 1073741824 bytes, more than a replay may hold (" +
                std::to_string(kLargestReplayBytes) + " bytes, hours of play); not read\n");
  EXPECT_LT(run.peakKilobytes, kMostKilobytes);
  EXPECT_LT(run.seconds, 5.0);

  // Valid lines up to the bound, one a flip, and a bad one last: all of it is read and held.
  std::string text = "zimbrel-replay 1\n";
  uint64_t flip = 0;
  for (; text.size() < kLargestReplayBytes - 64; ++flip) {
    text += std::to_string(flip) + " 0 mouse 1 0 0 0\n";
  }
  text += std::to_string(flip) + " 0 bad\n";
  ASSERT_LE(text.size(), static_cast<size_t>(kLargestReplayBytes));
  WriteText("largest.replay", text);
  run = RunMeasured({"play", "largest.replay"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.errors.find("'bad' is not mouse, keys, clock or end"), std::string::npos)
      << run.errors;
  EXPECT_GT(run.peakKilobytes, 0);
  if (kMemoryMeasured) {
    EXPECT_LT(run.peakKilobytes, kMostKilobytes);
  }
  RecordProperty("largest_peak_kilobytes", std::to_string(run.peakKilobytes));
}

// A NUL byte is named at its line, and the message is whole; an output on a full disk, in a
// missing folder or over the replay names the system's reason or the clash, and makes nothing.
TEST_F(ReplayToolLimits, EachFaultIsNamedForWhatItIs) {
  WriteText("nul.replay", std::string("zimbrel-replay 1\n0 0 mo\0use 1 1 0 0\n", 37));
  ReplayToolRun run = RunReplayTool({"play", "nul.replay"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.errors, "zimbrel-replay: nul.replay:2: a NUL byte; not a replay's text\n");

  const std::string menus = FileText(ZIMBREL_SOURCE_DIR "/tests/replays/menus.replay");
  WriteText("menus.replay", menus);
  const std::string missing = fs::absolute("missing").string();
  const std::vector<std::pair<std::vector<std::string>, std::string>> faults = {
      {{"play", "menus.replay", "--audio", "/dev/full"},
       "/dev/full: cannot be written (No space left on device)"},
      {{"play", "menus.replay", "--highscores", "/dev/full"},
       "/dev/full: cannot be written (No space left on device)"},
      {{"play", "menus.replay", "--lines", "/dev/full"},
       "/dev/full: cannot be written (No space left on device)"},
      {{"autoplay", "/dev/full", "--until-stage", "1"},
       "/dev/full: cannot be written (No space left on device)"},
      {{"autoplay", "missing/robot.replay"},
       missing + "/robot.replay: cannot be written (No such file or directory)"},
      {{"play", "menus.replay", "--png", "missing/frames"},
       missing + "/frames: cannot be made a folder (No such file or directory)"},
      {{"play", "menus.replay", "--lines", "./menus.replay"},
       "--lines and the replay FILE name one file, " + fs::absolute("menus.replay").string() +
           "; an output would be written over the replay it reads"},
      {{"autoplay", "robot.replay", "--highscores", "robot.replay"},
       "--highscores and the replay FILE name one file, " + fs::absolute("robot.replay").string() +
           "; two outputs would be written over each other"},
      {{"play", "\x1b[2J.replay"}, "\\x1B[2J.replay: cannot be read (No such file or directory)"},
      {{"watch", "menus.replay", "--flip", "0"}, "--flip takes a flip, 1 or more, not '0'"},
      {{"watch", "menus.replay", "--flip", "99999"}, "menus.replay: --flip 99999 is past its last flip, "},
      {{"play", "menus.replay", "--\x1b[31m"},
       "play takes no option '--\\x1B[31m'; usage: zimbrel-replay play FILE"},
  };
  for (const auto& [arguments, said] : faults) {
    run = RunReplayTool(arguments);
    EXPECT_EQ(run.exitCode, 1) << said;
    EXPECT_EQ(run.errors.substr(0, said.size() + 16), "zimbrel-replay: " + said) << run.errors;
  }
  EXPECT_FALSE(fs::exists("missing"));
  EXPECT_FALSE(fs::exists("robot.replay"));
  EXPECT_EQ(FileText("menus.replay"), menus);

  // What is said on a full standard output is not said: that is a failure too.
  for (const std::vector<std::string>& question :
       {std::vector<std::string>{"--version"}, {"-h"}, {"soak", "--minutes", "0"}}) {
    ChildProcess tool;
    ChildProcess::Options options;
    options.command = {ZIMBREL_REPLAY_TOOL};
    options.command.insert(options.command.end(), question.begin(), question.end());
    options.environment = EnvironmentWith({});
    options.outputFile = "/dev/full";
    options.errorFile = fs::absolute("full.err");
    std::string error;
    ASSERT_TRUE(tool.Start(options, &error)) << error;
    EXPECT_EQ(tool.WaitForExit(std::chrono::seconds(60)), 1) << question[0];
    EXPECT_NE(
        FileText(options.errorFile)
            .find("zimbrel-replay: standard output: cannot be written (No space left on device)"),
        std::string::npos)
        << question[0] << ": " << FileText(options.errorFile);
  }
}

// A signal in the middle of a play, an autoplay or a soak: said, and the exit status a shell
// gives a command the signal ended; an autoplayed replay ends where the signal came.
struct Interruption {
  const char* verb;
  int signalNumber;
};

class Interrupted : public ReplayToolLimits, public ::testing::WithParamInterface<Interruption> {};

TEST_P(Interrupted, IsSaidAndEndsWithTheSignalsStatus) {
  const std::string verb = GetParam().verb;
  WriteText("game.replay", FileText(ZIMBREL_SOURCE_DIR "/tests/replays/whole_game.replay"));
  ChildProcess tool;
  ChildProcess::Options options;
  options.command = {ZIMBREL_REPLAY_TOOL, verb};
  if (verb != "soak") options.command.push_back(verb == "play" ? "game.replay" : "robot.replay");
  options.environment = EnvironmentWith({});
  options.outputFile = fs::absolute("replay-tool.out");
  options.errorFile = fs::absolute("replay-tool.err");
  std::string error;
  ASSERT_TRUE(tool.Start(options, &error)) << error;
  // Into the game, which takes a few seconds headless, once the tool heeds the signal.
  ASSERT_TRUE(tool.WaitUntilCatching(GetParam().signalNumber, std::chrono::seconds(20)));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  tool.Signal(GetParam().signalNumber);
  EXPECT_EQ(tool.WaitForExit(std::chrono::seconds(30)), 128 + GetParam().signalNumber)
      << FileText(options.errorFile);
  const std::string said = FileText(options.outputFile);
  EXPECT_NE(said.find(std::string("interrupted by ") +
                      (GetParam().signalNumber == SIGINT ? "SIGINT" : "SIGTERM") + " after "),
            std::string::npos)
      << said;
  EXPECT_EQ(said.find("ended by itself"), std::string::npos) << said;
  EXPECT_EQ(said.find("played"), std::string::npos) << said;
  if (verb == "autoplay") {
    const std::string replay = FileText("robot.replay");
    EXPECT_NE(replay.find(" end\n"), std::string::npos) << "the replay ends where it was cut";
  }
}

INSTANTIATE_TEST_SUITE_P(ByVerbAndSignal, Interrupted,
                         ::testing::Values(Interruption{"play", SIGINT},
                                           Interruption{"play", SIGTERM},
                                           Interruption{"autoplay", SIGTERM},
                                           Interruption{"soak", SIGINT}),
                         [](const ::testing::TestParamInfo<Interruption>& param) {
                           return std::string(param.param.verb) +
                                  (param.param.signalNumber == SIGINT ? "Sigint" : "Sigterm");
                         });

}  // namespace
