// A player at the real window: the built game (or another program of the runnable folder) on
// a private 640 x 480 X server, so that a screenshot is the game's picture pixel for pixel;
// the mouse and the keys through xdotool; and every step waited for on screenshots, checked
// against what the game draws it from, and kept, numbered in the order of the run, under
// <build>/tests/real-window/<test name>/. The game's sound goes to a file.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/disk_sound.h"
#include "tests/support/game_picture.h"
#include "tests/support/hand.h"
#include "tests/support/highscore_bytes.h"
#include "tests/support/hud_reader.h"
#include "tests/support/real_game.h"
#include "tests/support/screen_checks.h"
#include "tests/support/screen_places.h"
#include "tests/support/xvfb_display.h"

// Out of the way of the surrender message, the OK button and the display.
constexpr ScreenPlace kSwatterAside{40, 250};

// One row of the highscore table as the test expects it.
struct TableRow {
  std::string name;
  int score = 0;
  std::array<int, 8> swatCounts{};
};

class RealWindowPlayer : public ::testing::Test {
 protected:
  // A kill scores 100 and a miss costs 100; the swats take a few seconds of the stage's 60.
  static constexpr int kMostSwats = 12;
  // A name entry takes a key held through two reads of one frame; half a second spans
  // frames enough even for a sanitized game on a busy machine.
  static constexpr auto kKeyHold = std::chrono::milliseconds(500);
  static constexpr double kSwatterShown = 0.9;  // the kills' blood spots cover a little of it
  static constexpr double kSpriteShown = 0.95;
  // The swing's ten frames, and the one that arms the next swat.
  static constexpr int kTitleSwingFrames = 11;

  RealWindowPlayer();
  // The game in an environment of the test's choosing; its sound is then not recorded.
  explicit RealWindowPlayer(const std::map<std::string, std::string>& environment);
  ~RealWindowPlayer() override;

  void Start(const std::vector<std::string>& command = {"zimbrel"});

  // Waits for the screen that `check` describes and keeps the screenshot that showed it
  // (once the test has acted on it: writing it takes time that a swat has not got); `seen`
  // gets the game's picture from it.
  ::testing::AssertionResult See(const std::string& what, const RealGame::ScreenCheck& check,
                                 Image* seen = nullptr);

  void KeepPendingScreenshot();

  // The swatter at rest with its corner at the hand's place.
  ::testing::AssertionResult SwatterRests(const Image& seen) const;

  RealGame::ScreenCheck SwatterRestsWhereTheHandIs() const;

  // The picture `name` drawn at (x, y), over whatever lies under it.
  ::testing::AssertionResult SpriteShows(const Image& seen, const std::string& name, int x,
                                         int y) const;

  // The seconds left, wherever the display shows them; they are also kept in secondsLeft_.
  ::testing::AssertionResult SecondsShow(const Image& seen);

  // The play screen: the head-up display with this score and cream stock and some seconds
  // left, the swatter at rest at the hand's place, and at least `flies` live flies.
  RealGame::ScreenCheck PlayScreen(int score, int creamStock, size_t flies = 0);

  // From the title through the play button and the stage's intro into stage 1, until a swat
  // can be taken.
  void StartAGame();

  // The click on Play swung the swatter on the title; until that swing has run out over the
  // stage's first frames, though the swatter is drawn at rest, a click does not swat.
  void LetTheTitlesSwingRunOut(const Image& introSeen);

  // The fly cursor taken to a title button, seen there, and clicked.
  void ClickOnTitle(ScreenPlace button, const std::string& name);

  // Swats at the flies it sees until the score is above 0 (a kill scores 100, a miss costs
  // 100), telling from each new score how many the swat met.
  void SwatUntilTheScoreIsAboveZero();

  // Drops the cream where no fly is near, and sees the stock go down and the blob lie there.
  void DropCream();

  // Of a few places for the swatter, the one whose cream spot lies farthest from any fly: the
  // blob must still be there when the test looks.
  static ScreenPlace FarthestFromFlies(const std::vector<FlySighting>& flies);

  // Escape, and "Surrender !" with the OK button seen (the sound's mark when it shows goes to
  // soundStoppedAt_).
  void Surrender();
  // The surrender, and OK.
  void GiveUp();

  // The highscore table as the game draws it: the rows slid fully apart, and the row `marked`
  // (if any) with the name entry's "<<".
  Image HighscoreTable(const std::vector<TableRow>& rows, std::optional<int> marked) const;

  // The default table with this game in row 0 under `name`.
  std::vector<TableRow> TableWithThisGame(const std::string& name) const;

  // What the table shows while the name is typed: the marker blinks, one frame on, one off.
  RealGame::ScreenCheck NameEntryShows(const std::string& name) const;

  // A key held through a whole frame of the highscore screen. While a name is awaited, its
  // frame reads the keys twice (for Escape, then for a character), and a tap between the two
  // reads would count at the second one only; and a character is taken only when both reads
  // see its key held.
  void HoldKey(const std::string& keysym);

  // On the highscore screen with the game in row 0: the name typed key by key, each letter
  // seen in the row (it shows once the key is let go).
  void TypeName(const std::string& name, const std::vector<std::string>& keysyms);

  // Highscore.dat with this game in row 0 under `name`, the default rows below.
  Bytes HighscoreFileWithThisGame(const std::string& name) const;

  // From the title through the exit button, and a click on the age-rating picture.
  void LeaveThroughTheExit();

  XvfbDisplay display_{kGameWidth, kGameHeight};
  std::filesystem::path soundFolder_;
  DiskSound sound_;
  RealGame game_;
  Hand hand_;
  Image stage_;  // the background of stage 1
  std::vector<Image> flyPictures_;
  Image swatterAtRest_;
  Image swatterSwinging_;
  std::optional<HudReader> hud_;
  std::optional<int> secondsLeft_;
  std::uintmax_t soundStoppedAt_ = 0;
  int screenshots_ = 0;
  std::optional<std::pair<Image, std::string>> pendingScreenshot_;
  int score_ = 0;
  std::array<int, 8> swatCounts_{};
};
