// A player at the real window: the built game (or another program of the runnable folder) on
// a private 640 x 480 X server, so that a screenshot is the game's picture pixel for pixel;
// the mouse and the keys through xdotool; and every step waited for on screenshots, checked
// against what the game draws it from, and kept, numbered in the order of the run, under
// <build>/tests/real-window/<test name>/. The game's sound goes to a file.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <iomanip>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "disk_sound.h"
#include "game_picture.h"
#include "game_text.h"
#include "highscore_bytes.h"
#include "play_screen.h"
#include "real_game.h"
#include "screen_checks.h"
#include "xvfb_display.h"

// The title's buttons, by a point inside each (their rectangles hold the cursor's corner).
constexpr SwatterCorner kPlayButton{528, 350};
constexpr SwatterCorner kHighscoresButton{500, 390};
constexpr SwatterCorner kCreditsButton{500, 434};
constexpr SwatterCorner kExitButton{50, 436};
constexpr SwatterCorner kOkButton{280, 330};  // the OK box's rectangle: (220, 292)-(339, 379)
// Out of the way of the surrender message, the OK button and the display.
constexpr SwatterCorner kSwatterAside{40, 250};

// The cursor as the test moves it: from (0, 0), two pixels per mouse count.
class Hand {
 public:
  explicit Hand(RealGame& game) : game_(game) {}
  void MoveTo(SwatterCorner to) {
    const int countsX = (to.x - x_) / 2;
    const int countsY = (to.y - y_) / 2;
    game_.MoveMouse(countsX, countsY);
    x_ += 2 * countsX;
    y_ += 2 * countsY;
  }
  // Moved and clicked in one go, with no pause between: a swat where a fly is now.
  void SwatAt(SwatterCorner to) {
    const int countsX = (to.x - x_) / 2;
    const int countsY = (to.y - y_) / 2;
    game_.MoveMouseAndClick(countsX, countsY, 1);
    x_ += 2 * countsX;
    y_ += 2 * countsY;
  }
  SwatterCorner At() const { return {x_, y_}; }

 private:
  RealGame& game_;
  int x_ = 0;
  int y_ = 0;
};

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

  RealWindowPlayer()
      : soundFolder_(MadeFolder()),
        sound_(soundFolder_ / "sound.raw"),
        game_(display_, {{"SDL_AUDIODRIVER", "disk"}, {"SDL_DISKAUDIOFILE", sound_.File()}}),
        hand_(game_) {}
  // The game in an environment of the test's choosing; its sound is then not recorded.
  explicit RealWindowPlayer(const std::map<std::string, std::string>& environment)
      : soundFolder_(MadeFolder()), sound_(soundFolder_ / "sound.raw"),
        game_(display_, environment), hand_(game_) {}

  ~RealWindowPlayer() override {
    KeepPendingScreenshot();
    std::error_code ignored;
    std::filesystem::remove_all(soundFolder_, ignored);
  }

  static std::filesystem::path MadeFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "zimbrel-sound-XXXXXX").string();
    return mkdtemp(pattern.data()) ? std::filesystem::path(pattern) : std::filesystem::path();
  }

  void Start(const std::vector<std::string>& command = {"zimbrel"}) {
    ASSERT_TRUE(display_.Ready()) << display_.Error();
    ASSERT_FALSE(soundFolder_.empty());
    ASSERT_TRUE(game_.Start(command));
    stage_ = game_.Picture("Back1.bmp");
    for (const char* fly : {"Fly1.bmp", "Fly2.bmp", "Fly3.bmp"}) {
      flyPictures_.push_back(game_.Picture(fly));
    }
    swatterAtRest_ = game_.Picture("Klatsche1.bmp");
    swatterSwinging_ = game_.Picture("Klatsche2.bmp");
    hud_.emplace(stage_);
  }

  // Waits for the screen that `check` describes and keeps the screenshot that showed it
  // (once the test has acted on it: writing it takes time that a swat has not got); `seen`
  // gets the game's picture from it.
  ::testing::AssertionResult See(const std::string& what, const RealGame::ScreenCheck& check,
                                 Image* seen = nullptr) {
    KeepPendingScreenshot();
    Image shown;
    ::testing::AssertionResult result = game_.WaitForScreen(what, [&](const Image& screenshot) {
      ::testing::AssertionResult passed = check(screenshot);
      if (passed) shown = screenshot;
      return passed;
    });
    if (!result) return result;
    std::ostringstream name;
    name << std::setw(2) << std::setfill('0') << ++screenshots_ << " " << what;
    pendingScreenshot_ = {std::move(shown), name.str()};
    if (seen) *seen = GamePictureOf(pendingScreenshot_->first);
    return result;
  }

  void KeepPendingScreenshot() {
    if (pendingScreenshot_) {
      game_.KeepScreenshot(pendingScreenshot_->first, pendingScreenshot_->second);
    }
    pendingScreenshot_.reset();
  }

  // The swatter at rest with its corner at the hand's place.
  ::testing::AssertionResult SwatterRests(const Image& seen) const {
    const SwatterCorner at = hand_.At();
    const double rest = SpriteShare(seen, swatterAtRest_, at.x, at.y);
    const double swing = SpriteShare(seen, swatterSwinging_, at.x, at.y);
    if (rest >= kSwatterShown && rest > swing) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the resting swatter at (" << at.x << ", " << at.y
                                         << ") shows " << rest << ", the swinging one " << swing;
  }

  RealGame::ScreenCheck SwatterRestsWhereTheHandIs() const {
    return [this](const Image& screenshot) { return SwatterRests(GamePictureOf(screenshot)); };
  }

  // The picture `name` drawn at (x, y), over whatever lies under it.
  ::testing::AssertionResult SpriteShows(const Image& seen, const std::string& name, int x,
                                         int y) const {
    const double shown = SpriteShare(seen, game_.Picture(name), x, y);
    if (shown >= kSpriteShown) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << name << " at (" << x << ", " << y << ") shows "
                                         << shown;
  }

  // The seconds left, wherever the display shows them; they are also kept in secondsLeft_.
  ::testing::AssertionResult SecondsShow(const Image& seen) {
    std::vector<int> seconds;
    for (int left = 1; left <= 60; ++left) seconds.push_back(left);
    secondsLeft_ = hud_->Read(seen, HudNumber::SecondsLeft, seconds);
    if (secondsLeft_) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no seconds left to read";
  }

  // The play screen: the head-up display with this score and cream stock and some seconds
  // left, the swatter at rest at the hand's place, and at least `flies` live flies.
  RealGame::ScreenCheck PlayScreen(int score, int creamStock, size_t flies = 0) {
    return [this, score, creamStock, flies](const Image& screenshot) {
      const Image seen = GamePictureOf(screenshot);
      if (hud_->Read(seen, HudNumber::Score, {score}) != score) {
        return ::testing::AssertionFailure() << "the score does not read " << score;
      }
      if (hud_->Read(seen, HudNumber::CreamStock, {creamStock}) != creamStock) {
        return ::testing::AssertionFailure() << "the cream stock does not read " << creamStock;
      }
      ::testing::AssertionResult shown = SecondsShow(seen);
      if (shown) shown = SwatterRests(seen);
      if (!shown) return shown;
      const size_t found = FindLiveFlies(seen, stage_, flyPictures_).size();
      if (found < flies) {
        return ::testing::AssertionFailure() << found << " live flies, not " << flies;
      }
      return ::testing::AssertionSuccess();
    };
  }

  // From the title through the play button and the stage's intro into stage 1.
  void StartAGame() {
    ASSERT_TRUE(See("the title, fly cursor at (0, 0)", TitleWithFlyCursorAt(game_, 0, 0)));
    ClickOnTitle(kPlayButton, "Play");
    const Image banner = game_.Picture("Stage.bmp");
    const Image number = game_.Picture("1.bmp");
    const Image intro = WithSprite(WithSprite(stage_, banner, 0, 0), number,
                                   (kGameWidth - number.width) / 2, 293);
    ASSERT_TRUE(See("the stage 1 intro", ShowsOneOf({intro})));
    game_.Click(1);
  }

  // The fly cursor taken to a title button, seen there, and clicked.
  void ClickOnTitle(SwatterCorner button, const std::string& name) {
    hand_.MoveTo(button);
    ASSERT_TRUE(See("the fly cursor on " + name, TitleWithFlyCursorAt(game_, button.x, button.y)));
    game_.Click(1);
  }

  // Swats at the flies it sees until the score is above 0 (a kill scores 100, a miss costs
  // 100), telling from each new score how many the swat met.
  void SwatUntilTheScoreIsAboveZero() {
    for (int swat = 1; swat <= kMostSwats; ++swat) {
      std::optional<SwatterCorner> aim;
      ASSERT_TRUE(See("swat " + std::to_string(swat) + ", flies in reach",
                      [&](const Image& screenshot) {
                        const Image seen = GamePictureOf(screenshot);
                        ::testing::AssertionResult resting = SwatterRests(seen);
                        if (!resting) return resting;
                        aim = AimAt(FindLiveFlies(seen, stage_, flyPictures_));
                        if (aim) return ::testing::AssertionSuccess();
                        return ::testing::AssertionFailure() << "no fly in reach";
                      }));
      hand_.SwatAt(*aim);
      std::vector<int> scores;
      for (int targets = 0; targets <= 7; ++targets) scores.push_back(score_ + SwatScore(targets));
      std::optional<int> scored;
      ASSERT_TRUE(See("swat " + std::to_string(swat) + " scored", [&](const Image& screenshot) {
        scored = hud_->Read(GamePictureOf(screenshot), HudNumber::Score, scores);
        if (scored) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the score reads none of the swat's";
      }));
      const auto targets = std::find(scores.begin(), scores.end(), *scored) - scores.begin();
      score_ = *scored;
      ++swatCounts_[static_cast<size_t>(targets)];
      if (score_ > 0) return;
    }
    FAIL() << "after " << kMostSwats << " swats the score is " << score_
           << ": the game does not beat the table, and the name entry cannot be played";
  }

  // Drops the cream where no fly is near, and sees the stock go down and the blob lie there.
  void DropCream() {
    Image seen;
    ASSERT_TRUE(See("the swatter at rest", SwatterRestsWhereTheHandIs(), &seen));
    const SwatterCorner spot = FarthestFromFlies(FindLiveFlies(seen, stage_, flyPictures_));
    hand_.MoveTo(spot);
    std::optional<int> stock;
    ASSERT_TRUE(See("the swatter where the cream goes", [&](const Image& screenshot) {
      const Image picture = GamePictureOf(screenshot);
      stock = hud_->Read(picture, HudNumber::CreamStock, {1, 2});
      ::testing::AssertionResult resting = SwatterRests(picture);
      if (!resting || stock) return resting;
      return ::testing::AssertionFailure() << "no cream in stock to read";
    }));
    game_.Click(3);
    ASSERT_TRUE(See("one cream less in stock", [&](const Image& screenshot) {
      const int left = *stock - 1;
      if (hud_->Read(GamePictureOf(screenshot), HudNumber::CreamStock, {left}) == left) {
        return ::testing::AssertionSuccess();
      }
      return ::testing::AssertionFailure() << "the cream stock does not read " << left;
    }));
    // The blob lies under the swatter's corner; the swatter moves off it.
    hand_.MoveTo({spot.x > 300 ? spot.x - 120 : spot.x + 120, spot.y});
    ASSERT_TRUE(See("the cream blob where it was dropped", [&](const Image& screenshot) {
      return SpriteShows(GamePictureOf(screenshot), "Sahne.bmp", spot.x + 16, spot.y + 16);
    }));
  }

  // Of a few places for the swatter, the one whose cream spot lies farthest from any fly: the
  // blob must still be there when the test looks.
  static SwatterCorner FarthestFromFlies(const std::vector<FlySighting>& flies) {
    SwatterCorner farthest{};
    int bestDistance = -1;
    for (int y = 80; y <= 320; y += 80) {
      for (int x = 60; x <= 500; x += 110) {
        int nearest = kGameWidth + kGameHeight;
        for (const FlySighting& fly : flies) {
          nearest = std::min(nearest, std::abs(fly.x - (x + 16)) + std::abs(fly.y - (y + 16)));
        }
        if (nearest > bestDistance) {
          farthest = {x, y};
          bestDistance = nearest;
        }
      }
    }
    return farthest;
  }

  // Escape, "Surrender !" with the OK button (the sound's mark when it shows goes to
  // soundStoppedAt_), and OK.
  void GiveUp() {
    hand_.MoveTo(kSwatterAside);
    ASSERT_TRUE(See("the swatter aside before giving up", SwatterRestsWhereTheHandIs()));
    game_.PressKey("Escape");
    const Image surrendered = WithGameTexts(stage_, {{"Surrender !", 240, 100, kYellowText}});
    ASSERT_TRUE(See("Surrender ! and the OK button", [&](const Image& screenshot) {
      const Image seen = GamePictureOf(screenshot);
      const double message = ShownShare(seen, surrendered, stage_, {230, 95, 260, 45});
      if (message < kSpriteShown) {
        return ::testing::AssertionFailure() << "the surrender message shows " << message;
      }
      ::testing::AssertionResult ok = SpriteShows(seen, "BOK.bmp", 270, 350);
      return ok ? SwatterRests(seen) : ok;
    }));
    soundStoppedAt_ = sound_.Played();
    hand_.MoveTo(kOkButton);
    ASSERT_TRUE(See("the swatter on OK", SwatterRestsWhereTheHandIs()));
    game_.Click(1);
  }

  // The highscore table as the game draws it: the rows slid fully apart, and the row `marked`
  // (if any) with the name entry's "<<".
  Image HighscoreTable(const std::vector<TableRow>& rows, std::optional<int> marked) const {
    constexpr int kCountColumns[8] = {210, 270, 330, 380, 427, 474, 521, 562};
    std::vector<GameText> texts;
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
      const int y = 40 + i * 36;
      const uint32_t colour = static_cast<uint32_t>(255 - 19 * i) << 8 | 0xFF;
      const TableRow& row = rows[static_cast<size_t>(i)];
      texts.push_back({std::to_string(row.score), 3, y, colour});
      texts.push_back({marked == i ? row.name + " <<" : row.name, 130, y, colour});
      for (size_t k = 0; k < 8; ++k) {
        texts.push_back({std::to_string(row.swatCounts[k]), kCountColumns[k], y, colour});
      }
    }
    return WithGameTexts(game_.Picture("Highscore.bmp"), texts);
  }

  // The default table with this game in row 0 under `name`.
  std::vector<TableRow> TableWithThisGame(const std::string& name) const {
    std::vector<TableRow> rows(10, TableRow{"---", 0, {}});
    rows[0] = {name, score_, swatCounts_};
    return rows;
  }

  // What the table shows while the name is typed: the marker blinks, one frame on, one off.
  RealGame::ScreenCheck NameEntryShows(const std::string& name) const {
    const std::vector<TableRow> rows = TableWithThisGame(name);
    return ShowsOneOf({HighscoreTable(rows, 0), HighscoreTable(rows, std::nullopt)});
  }

  // A key held through a whole frame of the highscore screen. While a name is awaited, its
  // frame reads the keys twice (for Escape, then for a character), and a tap between the two
  // reads would count at the second one only; and a character is taken only when both reads
  // see its key held.
  void HoldKey(const std::string& keysym) {
    game_.KeyDown(keysym);
    std::this_thread::sleep_for(kKeyHold);
    game_.KeyUp(keysym);
  }

  // On the highscore screen with the game in row 0: the name typed key by key, each letter
  // seen in the row (it shows once the key is let go).
  void TypeName(const std::string& name, const std::vector<std::string>& keysyms) {
    ASSERT_TRUE(See("the highscore table, the game in row 0 awaiting its name",
                    NameEntryShows("   ")));
    for (size_t typed = 1; typed <= keysyms.size(); ++typed) {
      HoldKey(keysyms[typed - 1]);
      const std::string shown = name.substr(0, typed) + std::string(3 - typed, ' ');
      ASSERT_TRUE(See("the name reads '" + shown + "'", NameEntryShows(shown)));
    }
  }

  // Highscore.dat with this game in row 0 under `name`, the default rows below.
  Bytes HighscoreFileWithThisGame(const std::string& name) const {
    Bytes bytes = DefaultFileBytes();
    for (size_t i = 0; i < 3; ++i) bytes[i] = static_cast<uint8_t>(name[i]);
    auto put = [&bytes](size_t at, int value) {
      for (size_t i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
      }
    };
    put(4, score_);
    for (size_t k = 0; k < 8; ++k) put(8 + 4 * k, swatCounts_[k]);
    return bytes;
  }

  // From the title through the exit button, and a click on the age-rating picture.
  void LeaveThroughTheExit() {
    ClickOnTitle(kExitButton, "Exit");
    ASSERT_TRUE(See("the age-rating picture", ShowsOneOf({game_.Picture("fsk.bmp")})));
    game_.Click(1);
    ASSERT_EQ(game_.WaitForExit(), 0) << game_.Output();
  }

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
