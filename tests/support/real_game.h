// The built game run for real, as a player runs it, on a private X server (XvfbDisplay):
// a fresh copy of the runnable folder (zimbrel, gfx/, snd/) in a temporary folder, the game
// started there with its output captured, screenshots polled until they show what a test
// expects, input typed and clicked through xdotool, and the ways a game is ended from outside.
//
//   XvfbDisplay display(1280, 1024);
//   ASSERT_TRUE(display.Ready()) << display.Error();
//   RealGame game(display);
//   ASSERT_TRUE(game.Start());
//   ASSERT_TRUE(game.WaitForScreen("the title", ShowsPicture(game.Picture("Start.bmp"))));
//   game.PressKey("Escape");
//
// Input goes through the XTEST extension, as from a real keyboard and mouse. The game holds
// the pointer in SDL's relative mode, which on X11 reads XInput2 raw motion: MoveMouse
// (`xdotool mousemove_relative`) reaches the game as exactly that many mouse counts (two
// pixels of its picture each). Absolute moves (`xdotool mousemove`) move the X pointer but
// did not move the game's cursor at all when tried; do not use them.
//
// Every wait polls with a generous time-out (a sanitized game on a busy machine is slow).
// When a test has failed, its screenshots and the game's output are kept under
// <build>/tests/real-window/<test name>/, and the failure messages say where.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "tests/support/child_process.h"
#include "tests/support/game_picture.h"
#include "tests/support/xvfb_display.h"
#include "tools/art/image.h"

// A picture on screen counts as the expected one within this mean difference per channel
// (MeanDifference): the right picture measures well under 1, a fly cursor's wrong animation
// frame over its 32 x 32 pixels about 10, a different screen tens.
constexpr double kSamePictureTolerance = 3.0;

class RealGame {
 public:
  // Environment of the game on top of the test's own; DISPLAY is always the test's server.
  // By default SDL uses X11 and the dummy sound driver.
  explicit RealGame(XvfbDisplay& display,
                    const std::map<std::string, std::string>& environment = {});
  ~RealGame();  // ends a game still running; after a failure keeps what it saw
  RealGame(const RealGame&) = delete;
  RealGame& operator=(const RealGame&) = delete;

  // Copies the runnable folder and starts the game in it, then waits for its window to be
  // on screen. `command` may name another program of the runnable folder, with its
  // arguments ({"zimbrel-replay", "record", "game.replay"}); it is copied with gfx/, snd/ and
  // zimbrel-send.
  ::testing::AssertionResult Start(const std::vector<std::string>& command = {"zimbrel"});
  // Starts `command` (an installed launcher, say) in `workingDirectory` instead, with the same
  // environment, output capture and wait for the window; Folder() is then that directory.
  ::testing::AssertionResult StartCommand(const std::vector<std::string>& command,
                                          const std::filesystem::path& workingDirectory);
  const std::filesystem::path& Folder() const { return folder_; }
  // The game's window as it is now: SDL replaces its first window once while it sets up the
  // renderer, so the window is looked up afresh whenever it is needed.
  unsigned long Window();

  // A picture of the game's folder, "gfx/<name>", as the game reads it.
  Image Picture(const std::string& name) const;

  // Screenshots until `check` holds, or the patience runs out (the check's last word, and
  // where the last screenshot was kept, are then in the failure). `what` names the wait.
  using ScreenCheck = std::function<::testing::AssertionResult(const Image& screenshot)>;
  ::testing::AssertionResult WaitForScreen(const std::string& what, const ScreenCheck& check);

  // Input, by X keysym name ("Escape", "Return", "a") and mouse button (1 left, 3 right).
  // The game's window is given the keyboard focus first, where it does not have it yet.
  void PressKey(const std::string& keysym);
  void KeyDown(const std::string& keysym);
  void KeyUp(const std::string& keysym);
  void MouseDown(int button);
  void MouseUp(int button);
  void Click(int button);
  void MoveMouse(int countsX, int countsY);
  // A move and then a click in one go: no pause between them, for a swat where a fly is now.
  void MoveMouseAndClick(int countsX, int countsY, int button);

  // Answers a message box with this caption by its default button, whichever way it is shown:
  // SDL draws its own box where the X server has core fonts (a desktop's), and leaves it to
  // zenity where it has none. Returns once the box was answered or the game has ended.
  void AnswerBox(const std::string& caption);

  // Ending from outside: the window manager's close, or a signal.
  void SendWindowClose();
  void SendSignal(int signalNumber);
  // The game's exit code once it has ended; nothing when it still runs at the end of patience.
  std::optional<int> WaitForExit();
  // What the game wrote on its standard output and error.
  std::string Output() const;

  // Keeps a screenshot among the test's artefacts, under `what`; where it was kept.
  std::string KeepScreenshot(const Image& screenshot, const std::string& what);

 private:
  ::testing::AssertionResult MakeOwnFolder();
  ::testing::AssertionResult Launch(const std::vector<std::string>& command,
                                    const std::filesystem::path& workingDirectory);
  ::testing::AssertionResult FindWindow(unsigned long* window);
  void EnsureFocus();
  void Input(const std::vector<std::string>& arguments);
  void Xdotool(const std::vector<std::string>& arguments);
  std::filesystem::path ArtefactFolder() const;

  XvfbDisplay& display_;
  std::vector<std::string> environment_;
  std::filesystem::path root_;    // the temporary folder this object owns: output, run folder
  std::filesystem::path folder_;  // the game's working directory
  ChildProcess game_;
  unsigned long focusedWindow_ = 0;
};

// The screen shows `picture` (640 x 480) in `region` of the game's picture.
RealGame::ScreenCheck ShowsPicture(const Image& picture, GameRect region = kWholeFrame,
                                   double tolerance = kSamePictureTolerance);
