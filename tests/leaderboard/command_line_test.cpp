// zimbrel-leaderboard's command line as an operator types it: what it refuses (status 2, the
// option named), what it cannot start with (status 1, the reason), and its answers to --help
// and --version.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/child_process.h"
#include "tests/support/leaderboard_run.h"

namespace {

struct Case {
  std::vector<std::string> arguments;
  int status;
  std::string said;  // on standard output for 0, else on standard error
};

TEST(LeaderboardCommandLine, RefusesWhatItCannotServeAndSaysWhy) {
  LeaderboardRun folder;
  const std::filesystem::path empty = folder.Folder() / "empty";
  std::filesystem::create_directories(empty / "gfx");
  std::filesystem::create_directories(empty / "snd");
  const std::vector<Case> cases = {
      {{"--version"}, 0, "zimbrel-leaderboard 1.0.0\n"},
      {{"--help"}, 0, "--database ADDRESS"},
      {{"--listen", "8080"}, 2, "--listen does not take '8080'"},
      {{"--listen", "127.0.0.1:65536"}, 2, "--listen does not take '127.0.0.1:65536'"},
      {{"--verifiers", "0"}, 2, "--verifiers does not take '0'"},
      {{"--rate"}, 2, "--rate needs a value"},
      {{"--trusted-proxy", "proxy.example.org"}, 2, "--trusted-proxy does not take 'proxy.example.org'"},
      {{"--frobnicate\x1b[2J"}, 2, "unknown option '--frobnicate\\x1B[2J'"},
      {{"--database", "mysql://localhost/zimbrel"}, 1, "the database cannot be opened: 'mysql://localhost/zimbrel' is no database address"},
      {{"--database", "sqlite:/nonexistent/folder/x.sqlite"}, 1, "the database cannot be opened: /nonexistent/folder/x.sqlite: unable to open"},
      {{"--data", "/nonexistent"}, 1, "/nonexistent holds no gfx/ and snd/"},
      {{"--data", empty.string()}, 1, "the start-up check: the game's file " + (empty / "gfx/Fly1.bmp").string() + " cannot be read"},
      {{"--site", "/nonexistent"}, 1, "/nonexistent holds no index.html"},
      {{"--listen", "192.0.2.1:8080"}, 1, "cannot listen on 192.0.2.1:8080"},
  };
  for (const Case& c : cases) {
    ChildProcess::Options run;
    run.command = {ZIMBREL_LEADERBOARD};
    run.command.insert(run.command.end(), c.arguments.begin(), c.arguments.end());
    run.environment = EnvironmentWith({});
    run.workingDirectory = folder.Folder();
    run.outputFile = folder.Folder() / "out";
    run.errorFile = folder.Folder() / "err";
    const FinishedRun finished = RunToItsEnd(run, std::chrono::seconds(20));
    EXPECT_EQ(finished.exitCode, c.status) << c.arguments[0] << ": " << finished.errors;
    const std::string& said = c.status == 0 ? finished.output : finished.errors;
    EXPECT_NE(said.find(c.said), std::string::npos) << c.arguments[0] << ": " << said;
  }
}

}  // namespace
