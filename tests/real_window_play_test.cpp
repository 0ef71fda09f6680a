// A whole visit to the game in a real window, as a player makes it, through the built
// `zimbrel` and nothing else: the title, a game of swats and cream given up with "Surrender !",
// the name typed into the highscore table, the table and the credits from the title, and out
// through the exit picture; the sound played to a file. Every step is checked on a screenshot
// against what the game draws it from; the screen is 640 x 480, so a screenshot is the game's
// picture. All of them are kept under <build>/tests/real-window/<test name>/ (the docs'
// screenshots are copies of three of them).
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <iomanip>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "disk_sound.h"
#include "game_picture.h"
#include "game_text.h"
#include "highscore_bytes.h"
#include "play_screen.h"
#include "real_game.h"
#include "screen_checks.h"
#include "xvfb_display.h"

namespace fs = std::filesystem;

namespace {

// The title's buttons, by a point inside each (their rectangles hold the cursor's corner).
constexpr SwatterCorner kPlayButton{528, 350};
constexpr SwatterCorner kHighscoresButton{500, 390};
constexpr SwatterCorner kCreditsButton{500, 434};
constexpr SwatterCorner kExitButton{50, 436};
constexpr SwatterCorner kOkButton{280, 330};  // the OK box's rectangle: (220, 292)-(339, 379)
// Out of the way of the surrender message, the OK button and the display.
constexpr SwatterCorner kSwatterAside{40, 250};

constexpr int kMostSwats = 8;
// A name entry takes a key held through two reads of one frame; a quarter of a second spans
// frames enough even for a sanitized game on a busy machine.
constexpr auto kKeyHold = std::chrono::milliseconds(250);

constexpr double kSwatterShown = 0.9;  // blood spots of the kills may cover a little of it
constexpr double kSpriteShown = 0.95;

std::string Padded(int number) {
  std::ostringstream text;
  text << std::setw(2) << std::setfill('0') << number;
  return text.str();
}

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

class RealWindowPlay : public ::testing::Test {
 protected:
  RealWindowPlay()
      : soundFolder_(MadeFolder()),
        sound_(soundFolder_ / "sound.raw"),
        game_(display_, {{"SDL_AUDIODRIVER", "disk"}, {"SDL_DISKAUDIOFILE", sound_.File()}}),
        hand_(game_) {}

  ~RealWindowPlay() override {
    std::error_code ignored;
    fs::remove_all(soundFolder_, ignored);
  }

  static fs::path MadeFolder() {
    std::string pattern = (fs::temp_directory_path() / "zimbrel-sound-XXXXXX").string();
    return mkdtemp(pattern.data()) ? fs::path(pattern) : fs::path();
  }

  void SetUp() override {
    ASSERT_TRUE(display_.Ready()) << display_.Error();
    ASSERT_FALSE(soundFolder_.empty());
    ASSERT_TRUE(game_.Start());
    stage_ = game_.Picture("Back1.bmp");
    for (const char* fly : {"Fly1.bmp", "Fly2.bmp", "Fly3.bmp"}) {
      flyPictures_.push_back(game_.Picture(fly));
    }
    hud_.emplace(stage_);
  }

  // Waits for the screen that `check` describes and keeps the screenshot that showed it,
  // numbered in the order of the run; `seen` gets the game's picture from it.
  ::testing::AssertionResult See(const std::string& what, const RealGame::ScreenCheck& check,
                                 Image* seen = nullptr) {
    Image shown;
    ::testing::AssertionResult result = game_.WaitForScreen(what, [&](const Image& screenshot) {
      ::testing::AssertionResult passed = check(screenshot);
      if (passed) shown = screenshot;
      return passed;
    });
    if (!result) return result;
    game_.KeepScreenshot(shown, Padded(++screenshots_) + " " + what);
    if (seen) *seen = GamePictureOf(shown);
    return result;
  }

  // The swatter at rest with its corner at the hand's place.
  ::testing::AssertionResult SwatterRests(const Image& seen) const {
    const SwatterCorner at = hand_.At();
    const GameRect place{at.x, at.y, kSwatterWidth, kSwatterHeight};
    const double rest = ShownShare(seen, WithSprite(stage_, game_.Picture("Klatsche1.bmp"), at.x, at.y),
                                   stage_, place);
    const double swing = ShownShare(
        seen, WithSprite(stage_, game_.Picture("Klatsche2.bmp"), at.x, at.y), stage_, place);
    if (rest >= kSwatterShown && rest > swing) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the resting swatter at (" << at.x << ", " << at.y
                                         << ") shows " << rest << ", the swinging one " << swing;
  }

  // The sprite `name` drawn at (x, y), over whatever lies under it.
  ::testing::AssertionResult SpriteShows(const Image& seen, const std::string& name, int x,
                                         int y) const {
    const Image sprite = game_.Picture(name);
    const double shown = ShownShare(seen, WithSprite(stage_, sprite, x, y), stage_,
                                    {x, y, sprite.width, sprite.height});
    if (shown >= kSpriteShown) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << name << " at (" << x << ", " << y << ") shows " << shown;
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
      std::vector<int> seconds;
      for (int left = 1; left <= 60; ++left) seconds.push_back(left);
      secondsLeft_ = hud_->Read(seen, HudNumber::SecondsLeft, seconds);
      if (!secondsLeft_) return ::testing::AssertionFailure() << "no seconds left to read";
      ::testing::AssertionResult swatter = SwatterRests(seen);
      if (!swatter) return swatter;
      const size_t found = FindLiveFlies(seen, stage_, flyPictures_).size();
      if (found < flies) {
        return ::testing::AssertionFailure() << found << " live flies, not " << flies;
      }
      return ::testing::AssertionSuccess();
    };
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
      hand_.MoveTo(*aim);
      game_.Click(1);
      std::vector<int> scores;
      for (int targets = 0; targets <= 7; ++targets) scores.push_back(score_ + SwatScore(targets));
      std::optional<int> scored;
      ASSERT_TRUE(See("swat " + std::to_string(swat) + " scored", [&](const Image& screenshot) {
        scored = hud_->Read(GamePictureOf(screenshot), HudNumber::Score, scores);
        if (scored) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the score reads none of the swat's";
      }));
      const int targets = static_cast<int>(std::find(scores.begin(), scores.end(), *scored) -
                                           scores.begin());
      score_ = *scored;
      ++swatCounts_[targets];
      if (score_ > 0) return;
    }
    FAIL() << "after " << kMostSwats << " swats the score is " << score_
           << ": the game does not beat the table, and the name entry cannot be played";
  }

  // Drops the cream where no fly is near, and sees the stock go down and the blob lie there.
  void DropCream() {
    Image seen;
    ASSERT_TRUE(See("the swatter at rest", [this](const Image& screenshot) {
      return SwatterRests(GamePictureOf(screenshot));
    }, &seen));
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
      for (int k = 0; k < 8; ++k) {
        texts.push_back({std::to_string(row.swatCounts[static_cast<size_t>(k)]), kCountColumns[k], y,
                         colour});
      }
    }
    return WithGameTexts(game_.Picture("Highscore.bmp"), texts);
  }

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

  // The name entry takes one character per key held through its frame; the letter shows once
  // the key is let go.
  void Type(const std::string& keysym) {
    game_.KeyDown(keysym);
    std::this_thread::sleep_for(kKeyHold);
    game_.KeyUp(keysym);
  }

  Image CreditsList() const {
    static const char* const kLines[18] = {
        "Lead Programmers : Quarrendel",    "AI Programmers : Quarrendel",
        "GFX Programmers : Quarrendel",     "Art Directors : Quarrendel",
        "Ex. Producers : Quarrendel",       "Battle System Designers : Quarrendel",
        "Lead Testers : Quarrendel",        "Assistant Managers : Quarrendel",
        "Coordination Director : Quarrendel", "Qlt. Assurance Managers : Quarrendel",
        "Chief Engeneers : Quarrendel",     "Editors : Quarrendel",
        "Level Designers : Quarrendel",     "Artworkers : Quarrendel",
        "Event Directors : Quarrendel",     "Product Analysts : Quarrendel",
        "Charakter Modellers : Quarrendel", "Senior Softw. Engs. : Quarrendel"};
    std::vector<GameText> texts;
    for (int line = 1; line <= 18; ++line) {
      const uint32_t level = line <= 2 ? 255 : static_cast<uint32_t>(255 - 10 * (line - 1));
      texts.push_back({kLines[line - 1], 50, 30 + 20 * line, level << 8 | level});
    }
    return WithGameTexts(Image(kGameWidth, kGameHeight), texts);
  }

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

  // Into the first stage: the play button, and the stage's intro clicked away.
  void StartAGame() {
    ASSERT_TRUE(See("the title, fly cursor at (0, 0)", TitleWithFlyCursorAt(game_, 0, 0)));
    hand_.MoveTo(kPlayButton);
    ASSERT_TRUE(See("the fly cursor on Play", TitleWithFlyCursorAt(game_, kPlayButton.x,
                                                                   kPlayButton.y)));
    game_.Click(1);
    const Image banner = game_.Picture("Stage.bmp");
    const Image number = game_.Picture("1.bmp");
    const Image intro = WithSprite(WithSprite(stage_, banner, 0, 0), number,
                                   (kGameWidth - number.width) / 2, 293);
    ASSERT_TRUE(See("the stage 1 intro", ShowsOneOf({intro})));
    game_.Click(1);
  }

  XvfbDisplay display_{kGameWidth, kGameHeight};
  fs::path soundFolder_;
  DiskSound sound_;
  RealGame game_;
  Hand hand_;
  Image stage_;  // the background of stage 1
  std::vector<Image> flyPictures_;
  std::optional<HudReader> hud_;
  std::optional<int> secondsLeft_;
  int screenshots_ = 0;
  int score_ = 0;
  std::array<int, 8> swatCounts_{};
};

TEST_F(RealWindowPlay, APlayerSwatsGivesUpTypesANameLooksAroundAndLeaves) {
  ASSERT_NO_FATAL_FAILURE(StartAGame());

  // The first frames of play: the swatter where the fly cursor clicked, the flies out.
  ASSERT_TRUE(See("stage 1 with its flies, the display and the swatter",
                  PlayScreen(0, 1, 4)));
  const std::uintmax_t buzzFrom = sound_.Played();
  EXPECT_GE(*secondsLeft_, 50) << "the stage clock starts when the intro is clicked away";
  const int firstSeconds = *secondsLeft_;
  hand_.MoveTo({300, 200});
  ASSERT_TRUE(See("the swatter moved with the mouse", PlayScreen(0, 1)));

  ASSERT_NO_FATAL_FAILURE(SwatUntilTheScoreIsAboveZero());
  ASSERT_NO_FATAL_FAILURE(DropCream());

  hand_.MoveTo(kSwatterAside);
  ASSERT_TRUE(See("the swatter aside before giving up", [this](const Image& screenshot) {
    return SwatterRests(GamePictureOf(screenshot));
  }));
  ASSERT_TRUE(See("the seconds counting down", [this](const Image& screenshot) {
    std::vector<int> seconds;
    for (int left = 1; left <= 60; ++left) seconds.push_back(left);
    secondsLeft_ = hud_->Read(GamePictureOf(screenshot), HudNumber::SecondsLeft, seconds);
    if (secondsLeft_) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no seconds left to read";
  }));
  EXPECT_LT(*secondsLeft_, firstSeconds);
  const std::uintmax_t buzzTo = sound_.Played();
  EXPECT_GE(sound_.BytesBetween(buzzFrom, buzzTo), DiskSound::kQuarterSecond);
  EXPECT_GT(sound_.SoundingShare(buzzFrom, buzzTo), 0.9) << "the flies buzz while they live";

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
  const std::uintmax_t silenceFrom = sound_.Played() + DiskSound::kQuarterSecond;
  hand_.MoveTo(kOkButton);
  ASSERT_TRUE(See("the swatter on OK", [this](const Image& screenshot) {
    return SwatterRests(GamePictureOf(screenshot));
  }));
  game_.Click(1);

  // The score beats the table's last row: straight on to the name, in row 0.
  ASSERT_TRUE(See("the highscore table, the game in row 0 awaiting its name",
                  NameEntryShows("   ")));
  const std::string name = "K9A";
  const char* const keys[3] = {"k", "9", "a"};
  for (size_t typed = 1; typed <= 3; ++typed) {
    Type(keys[typed - 1]);
    const std::string shown = name.substr(0, typed) + std::string(3 - typed, ' ');
    ASSERT_TRUE(See("the name reads '" + shown + "'", NameEntryShows(shown)));
  }
  const Image table = HighscoreTable(TableWithThisGame(name), std::nullopt);
  ASSERT_TRUE(See("the name complete, no marker", ShowsOneOf({table})));
  game_.PressKey("Escape");
  ASSERT_TRUE(See("the title again", TitleWithFlyCursorAt(game_, kOkButton.x, kOkButton.y)));

  hand_.MoveTo(kHighscoresButton);
  ASSERT_TRUE(See("the fly cursor on Highscores",
                  TitleWithFlyCursorAt(game_, kHighscoresButton.x, kHighscoresButton.y)));
  game_.Click(1);
  ASSERT_TRUE(See("the highscore table from the title", ShowsOneOf({table})));
  game_.PressKey("Escape");
  ASSERT_TRUE(See("the title after the table",
                  TitleWithFlyCursorAt(game_, kHighscoresButton.x, kHighscoresButton.y)));

  hand_.MoveTo(kCreditsButton);
  ASSERT_TRUE(See("the fly cursor on Credits",
                  TitleWithFlyCursorAt(game_, kCreditsButton.x, kCreditsButton.y)));
  game_.Click(1);
  ASSERT_TRUE(See("the credits, swept open", ShowsOneOf({CreditsList()})));
  game_.PressKey("Escape");
  ASSERT_TRUE(See("the title after the credits",
                  TitleWithFlyCursorAt(game_, kCreditsButton.x, kCreditsButton.y)));

  hand_.MoveTo(kExitButton);
  ASSERT_TRUE(See("the fly cursor on Exit",
                  TitleWithFlyCursorAt(game_, kExitButton.x, kExitButton.y)));
  game_.Click(1);
  ASSERT_TRUE(See("the age-rating picture", ShowsOneOf({game_.Picture("fsk.bmp")})));
  game_.Click(1);
  ASSERT_EQ(game_.WaitForExit(), 0) << game_.Output();

  EXPECT_EQ(FileBytes(game_.Folder() / "Highscore.dat"), HighscoreFileWithThisGame(name));
  EXPECT_GE(sound_.BytesBetween(silenceFrom, UINTMAX_MAX), DiskSound::kQuarterSecond);
  EXPECT_EQ(sound_.SoundingShare(silenceFrom, UINTMAX_MAX), 0.0)
      << "sound after the surrender stopped every buzz";
  // The disk audio driver says where it writes; nothing else is said.
  std::istringstream output(game_.Output());
  std::string line;
  std::string unexpected;
  while (std::getline(output, line)) {
    const bool diskDriver = line == "CRITICAL: You are using the SDL disk i/o audio driver!" ||
                            line == "CRITICAL:  Writing to file [" + sound_.File().string() + "].";
    if (!diskDriver) unexpected += line + "\n";
  }
  EXPECT_EQ(unexpected, "");
}

TEST_F(RealWindowPlay, TheWindowManagersCloseInTheMiddleOfAStageEndsTheGameSavingTheTable) {
  ASSERT_NO_FATAL_FAILURE(StartAGame());
  ASSERT_TRUE(See("stage 1 under way", PlayScreen(0, 1, 4)));
  game_.SendWindowClose();
  EXPECT_EQ(game_.WaitForExit(), 0) << game_.Output();
  EXPECT_EQ(FileBytes(game_.Folder() / "Highscore.dat"), DefaultFileBytes());
}

}  // namespace
