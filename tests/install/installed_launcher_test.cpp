// The installed `zimbrel` command as a player meets it: the build installed into a fresh prefix
// (a space in its path) with its own `cmake --install`, run from another folder, with a HOME
// of its own.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/files/temporary_folder.h"
#include "tests/support/child_process.h"
#include "tests/support/game_picture.h"
#include "tests/support/highscore_bytes.h"
#include "tests/support/real_game.h"
#include "tests/support/xvfb_display.h"
#include "tools/art/bmp_file.h"

namespace fs = std::filesystem;

namespace {

constexpr auto kCommandTimeout = std::chrono::seconds(60);
// The cursor starts in the top-left corner; the rest of the picture is the screen's own.
constexpr GameRect kBelowTheCursor{0, 64, kGameWidth, kGameHeight - 64};

// Every file and link under a folder, with what would show a write: size and modification time.
std::map<std::string, std::string> Inventory(const fs::path& folder) {
  std::map<std::string, std::string> entries;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
    struct stat status {};
    lstat(entry.path().c_str(), &status);
    entries[fs::relative(entry.path(), folder).string()] =
        std::to_string(status.st_size) + " " + std::to_string(status.st_mtim.tv_sec) + "." +
        std::to_string(status.st_mtim.tv_nsec);
  }
  return entries;
}

// The entries added, removed or changed between two inventories.
std::vector<std::string> Changes(const std::map<std::string, std::string>& before,
                                 const std::map<std::string, std::string>& after) {
  std::vector<std::string> changes;
  for (const auto& [name, state] : after) {
    const auto was = before.find(name);
    if (was == before.end()) changes.push_back("added " + name);
    else if (was->second != state) changes.push_back("changed " + name);
  }
  for (const auto& [name, state] : before) {
    if (!after.count(name)) changes.push_back("removed " + name);
  }
  return changes;
}

class InstalledLauncher : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    const std::optional<fs::path> root = MakeTemporaryFolder("zimbrel-install", &error);
    ASSERT_TRUE(root) << error;
    root_ = *root;
    prefix_ = root_ / "install prefix";
    home_ = root_ / "home";
    elsewhere_ = root_ / "elsewhere";
    fs::create_directory(home_);
    fs::create_directory(elsewhere_);
    const FinishedRun installed = Run({"cmake", "--install", ZIMBREL_BUILD_DIR, "--prefix", prefix_.string()});
    ASSERT_EQ(installed.exitCode, 0) << installed.output << installed.errors;
  }

  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  fs::path Launcher() const { return prefix_ / ZIMBREL_INSTALLED_LAUNCHER; }
  fs::path InstalledData() const { return prefix_ / ZIMBREL_INSTALLED_DATA; }
  fs::path PlayersFolder() const { return home_ / ".local/share/zimbrel"; }

  // The player's environment: their own HOME and no XDG_DATA_HOME of the test's.
  std::map<std::string, std::string> PlayersEnvironment() const {
    return {{"HOME", home_.string()}, {"XDG_DATA_HOME", ""}};
  }

  FinishedRun Run(const std::vector<std::string>& command,
               const std::map<std::string, std::string>& environment = {}) {
    ChildProcess::Options options;
    options.command = command;
    options.environment = EnvironmentWith(environment);
    options.workingDirectory = elsewhere_;
    options.outputFile = root_ / "stdout.txt";
    options.errorFile = root_ / "stderr.txt";
    return RunToItsEnd(options, kCommandTimeout);
  }

  FinishedRun RunLauncher(const std::vector<std::string>& arguments,
                       const std::map<std::string, std::string>& environment) {
    std::vector<std::string> command = {Launcher().string()};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return Run(command, environment);
  }

  Image InstalledPicture(const std::string& name) const {
    std::optional<Image> picture = ReadBmp24((InstalledData() / "gfx" / name).string());
    if (!picture) ADD_FAILURE() << "no installed picture " << name;
    return picture.value_or(Image{});
  }

  fs::path root_;
  fs::path prefix_;
  fs::path home_;
  fs::path elsewhere_;
};

TEST_F(InstalledLauncher, AnswersHelpAndVersionAndRefusesABadCommandLineWithoutMakingAFolder) {
  const FinishedRun version = RunLauncher({"--version"}, PlayersEnvironment());
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.output, "zimbrel " ZIMBREL_VERSION "\n");

  for (const char* question : {"-h", "--help"}) {
    const FinishedRun help = RunLauncher({"--window", question}, PlayersEnvironment());
    EXPECT_EQ(help.exitCode, 0) << question;
    EXPECT_EQ(help.output.rfind("Usage: zimbrel [--fullscreen | --window] [--scale N] [--mute]", 0), 0u)
        << help.output;
    EXPECT_NE(help.output.find("Highscore.dat"), std::string::npos) << help.output;
    EXPECT_EQ(help.errors, "");
  }

  // Each refusal: one line naming the argument, then the usage, and the game never starts.
  const std::vector<std::pair<std::vector<std::string>, std::string>> refusals = {
      {{"--windowed"}, "zimbrel: unknown option '--windowed'"},
      {{""}, "zimbrel: unknown option ''"},
      {{"--scale", "0"}, "zimbrel: option '--scale' takes a whole number from 1 to 4, not '0'"},
      {{"--scale=5"}, "zimbrel: option '--scale' takes a whole number from 1 to 4, not '5'"},
      {{"--window", "--scale"}, "zimbrel: option '--scale' needs a value"},
      {{"--help", "--mut"}, "zimbrel: unknown option '--mut'"},
      // An escape sequence never reaches the terminal, and a long word is cut.
      {{"--\x1b[31m" + std::string(60, 'x')},
       "zimbrel: unknown option '--\\x1B[31m" + std::string(33, 'x') + "...'"},
      {{"--fullscreen", "--window"}, "zimbrel: options '--fullscreen' and '--window' exclude each other"}};
  for (const auto& [arguments, line] : refusals) {
    const FinishedRun refused = RunLauncher(arguments, PlayersEnvironment());
    EXPECT_EQ(refused.exitCode, 2) << line;
    EXPECT_EQ(refused.output, "");
    EXPECT_EQ(refused.errors.substr(0, refused.errors.find('\n')), line);
    EXPECT_NE(refused.errors.find("\nUsage: zimbrel "), std::string::npos) << refused.errors;
  }
  EXPECT_TRUE(fs::is_empty(home_)) << "asking the command something made a folder to play in";
}

TEST_F(InstalledLauncher, TellsInOneLineWhichFolderItCannotCreate) {
  // A plain file where a folder must be: not even root can make a folder inside it.
  const fs::path file = root_ / "a file";
  std::ofstream(file) << "not a folder";
  const auto before = Inventory(prefix_);

  const FinishedRun homeIsAFile = RunLauncher({}, {{"HOME", file.string()}, {"XDG_DATA_HOME", ""}});
  EXPECT_NE(homeIsAFile.exitCode, 0);
  EXPECT_EQ(homeIsAFile.errors, "zimbrel: cannot create the folder to play in: " + file.string() +
                                    "/.local/share/zimbrel\n");

  const FinishedRun dataHomeIsAFile =
      RunLauncher({}, {{"HOME", home_.string()}, {"XDG_DATA_HOME", file.string()}});
  EXPECT_NE(dataHomeIsAFile.exitCode, 0);
  EXPECT_EQ(dataHomeIsAFile.errors,
            "zimbrel: cannot create the folder to play in: " + file.string() + "/zimbrel\n");

  const FinishedRun noHome = RunLauncher({}, {{"HOME", ""}, {"XDG_DATA_HOME", "relative/ignored"}});
  EXPECT_NE(noHome.exitCode, 0);
  EXPECT_EQ(std::count(noHome.errors.begin(), noHome.errors.end(), '\n'), 1) << noHome.errors;
  EXPECT_NE(noHome.errors.find("HOME"), std::string::npos) << noHome.errors;

  EXPECT_EQ(Changes(before, Inventory(prefix_)), std::vector<std::string>{});
}

// A player who once played an installation that has since gone: the command re-points the
// pictures and sounds to this one, the game shows its title, Escape and a click end it, and
// nothing is written into the installation (nor a table anywhere: no game was entered).
TEST_F(InstalledLauncher, PlaysInThePlayersOwnFolderAndLeavesTheInstallationAlone) {
  fs::create_directories(PlayersFolder());
  fs::create_symlink(root_ / "gone/share/zimbrel/gfx", PlayersFolder() / "gfx");
  const auto before = Inventory(prefix_);

  XvfbDisplay display(800, 600);
  RealGame game(display, PlayersEnvironment());
  ASSERT_TRUE(game.StartCommand({Launcher().string()}, elsewhere_));
  ASSERT_TRUE(game.WaitForScreen("the title",
                                 ShowsPicture(InstalledPicture("Start.bmp"), kBelowTheCursor)));
  game.PressKey("Escape");
  ASSERT_TRUE(game.WaitForScreen("the age rating",
                                 ShowsPicture(InstalledPicture("fsk.bmp"), kBelowTheCursor)));
  game.Click(1);
  EXPECT_EQ(game.WaitForExit(), 0) << game.Output();

  std::error_code missing;
  EXPECT_EQ(FileBytes(PlayersFolder() / "Highscore.dat"), DefaultFileBytes());
  for (const char* folder : {"gfx", "snd"}) {
    EXPECT_EQ(fs::read_symlink(PlayersFolder() / folder, missing), InstalledData() / folder);
  }
  EXPECT_FALSE(fs::exists(elsewhere_ / "Highscore.dat"));
  EXPECT_EQ(Changes(before, Inventory(prefix_)), std::vector<std::string>{});
}

}  // namespace
