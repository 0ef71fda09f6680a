// The player's command line in a real window: a window of the scale asked for (or of the room
// the screen has), and a muted game on a machine with no sound device at all, which without
// --mute would stop at the game's box.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/game_picture.h"
#include "tests/support/real_game.h"
#include "tests/support/real_window_player.h"
#include "tests/support/window_geometry.h"
#include "tests/support/xvfb_display.h"

namespace {

// The cursor starts in the top-left corner; the rest of the picture is the title's own.
constexpr GameRect kBelowTheCursor{0, 64, kGameWidth, kGameHeight - 64};

// Sound as a machine without a sound card has it: SDL left to choose its own driver (not the
// test run's dummy one), and no sound server to be found.
const std::map<std::string, std::string> kNoSoundDevice = {
    {"SDL_AUDIODRIVER", ""}, {"XDG_RUNTIME_DIR", "/nonexistent"},
    {"PULSE_SERVER", "unix:/nonexistent"}};

bool MachineHasASoundCard() { return std::filesystem::exists("/dev/snd"); }

struct WindowCase {
  const char* name;
  std::vector<std::string> arguments;
  int screenWidth;
  int screenHeight;
  int windowWidth;
  int windowHeight;
  const char* said = "";  // a line standard error must hold
};

void PrintTo(const WindowCase& windowCase, std::ostream* out) { *out << windowCase.name; }

class PlayerWindow : public ::testing::TestWithParam<WindowCase> {};

// The window is the size asked for, and the title fills it, scaled, as it would fill a screen.
TEST_P(PlayerWindow, OpensAtItsScaleAndShowsTheTitleInIt) {
  const WindowCase& wanted = GetParam();
  XvfbDisplay display(wanted.screenWidth, wanted.screenHeight);
  ASSERT_TRUE(display.Ready()) << display.Error();
  RealGame game(display);
  std::vector<std::string> command = {"zimbrel"};
  command.insert(command.end(), wanted.arguments.begin(), wanted.arguments.end());
  ASSERT_TRUE(game.Start(command));

  const std::optional<WindowGeometry> geometry = QueryWindowGeometry(display.Name(), game.Window());
  ASSERT_TRUE(geometry.has_value());
  EXPECT_EQ(geometry->width, wanted.windowWidth);
  EXPECT_EQ(geometry->height, wanted.windowHeight);
  const RealGame::ScreenCheck title = ShowsPicture(game.Picture("Start.bmp"), kBelowTheCursor);
  EXPECT_TRUE(game.WaitForScreen("the title in the window", [&](const Image& screenshot) {
    return title(Cropped(screenshot, *geometry));
  }));
  game.SendWindowClose();
  EXPECT_EQ(game.WaitForExit(), 0) << game.Output();
  // The line that says a scale was brought down, exactly where one was.
  const size_t said = game.Output().find(*wanted.said ? wanted.said : "does not fit this screen");
  EXPECT_EQ(said != std::string::npos, *wanted.said != '\0') << game.Output();
}

// A scale of 2 needs 1280 x 960 of the screen: the default takes 2 exactly where that fits. A
// scale the screen cannot hold is brought down to the largest it can.
INSTANTIATE_TEST_SUITE_P(
    Sizes, PlayerWindow,
    ::testing::Values(WindowCase{"ScaleTwoAsked", {"--window", "--scale", "2"}, 1600, 1200, 1280, 960},
                      WindowCase{"RoomForTwo", {"--window"}, 1280, 960, 1280, 960},
                      WindowCase{"NoRoomForTwo", {"--window"}, 1280, 959, 640, 480},
                      WindowCase{"ScaleFourOnASmallScreen", {"--window", "--scale", "4"}, 1920, 1439,
                                 1280, 960, "Zimbrel: a window at --scale 4 does not fit this "
                                 "screen; using 2\n"}),
    [](const auto& test) { return std::string(test.param.name); });

// Without --mute the game keeps its box; standard error says why and how to play anyway. The
// box is answered as SDL shows it: drawn by SDL itself, or through zenity, whose stand-in here
// clicks OK at once.
TEST(PlayerSound, WithNoSoundDeviceTheBoxComesAndStandardErrorGivesTheReasonAndTheHint) {
  if (MachineHasASoundCard()) GTEST_SKIP() << "this machine has a sound card";
  std::string pattern = (std::filesystem::temp_directory_path() / "zimbrel-box-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  const std::filesystem::path bin = std::filesystem::path(pattern) / "bin";
  std::filesystem::create_directory(bin);
  std::ofstream(bin / "zenity") << "#!/bin/sh\ncase \"$1\" in --version) echo 3.44.0;; esac\nexit 0\n";
  std::filesystem::permissions(bin / "zenity", std::filesystem::perms::owner_all);

  XvfbDisplay display(kGameWidth, kGameHeight);
  ASSERT_TRUE(display.Ready()) << display.Error();
  std::map<std::string, std::string> environment = kNoSoundDevice;
  environment["PATH"] = bin.string() + ":" + std::getenv("PATH");
  RealGame game(display, environment);
  ASSERT_TRUE(game.Start());
  game.AnswerBox("Fehler Fehler Fehler !!!");
  EXPECT_EQ(game.WaitForExit(), 0) << game.Output();
  const std::string output = game.Output();
  const size_t reason = output.find("Zimbrel: cannot open a sound device: ");
  ASSERT_NE(reason, std::string::npos) << output;
  const std::string reasonLine = output.substr(reason, output.find('\n', reason) - reason);
  EXPECT_NE(reasonLine.find("; start with --mute to play without sound"), std::string::npos)
      << reasonLine;
  EXPECT_NE(output.find("Fehler Fehler Fehler !!!: Unable to Init DirectSound\n"), std::string::npos)
      << output;
  std::filesystem::remove_all(pattern);
}

class MutedPlayer : public RealWindowPlayer {
 protected:
  MutedPlayer() : RealWindowPlayer(kNoSoundDevice) {}
};

// Muted, the same machine plays: the title, a stage, swats that score.
TEST_F(MutedPlayer, ReachesTheTitleWithNoSoundDeviceAndItsSwatsCount) {
  ASSERT_NO_FATAL_FAILURE(Start({"zimbrel", "--mute"}));
  ASSERT_NO_FATAL_FAILURE(StartAGame());
  ASSERT_NO_FATAL_FAILURE(SwatUntilTheScoreIsAboveZero());
  game_.SendWindowClose();
  EXPECT_EQ(game_.WaitForExit(), 0) << game_.Output();
  EXPECT_EQ(game_.Output().find("sound"), std::string::npos) << game_.Output();
}

}  // namespace
