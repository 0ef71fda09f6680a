#include "tests/support/real_window_player.h"

#include <algorithm>
#include <iomanip>
#include <sstream>
#include <thread>

#include "platform/files/little_endian.h"
#include "platform/files/temporary_folder.h"
#include "tests/support/game_text.h"

RealWindowPlayer::RealWindowPlayer()
    : soundFolder_(MakeTemporaryFolder("zimbrel-sound").value_or(std::filesystem::path())),
      sound_(soundFolder_ / "sound.raw"),
      game_(display_, {{"SDL_AUDIODRIVER", "disk"}, {"SDL_DISKAUDIOFILE", sound_.File()}}),
      hand_(game_) {}

RealWindowPlayer::RealWindowPlayer(const std::map<std::string, std::string>& environment)
    : soundFolder_(MakeTemporaryFolder("zimbrel-sound").value_or(std::filesystem::path())),
      sound_(soundFolder_ / "sound.raw"),
      game_(display_, environment),
      hand_(game_) {}

RealWindowPlayer::~RealWindowPlayer() {
  KeepPendingScreenshot();
  std::error_code ignored;
  std::filesystem::remove_all(soundFolder_, ignored);
}

void RealWindowPlayer::Start(const std::vector<std::string>& command) {
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

::testing::AssertionResult RealWindowPlayer::See(const std::string& what,
                                                 const RealGame::ScreenCheck& check, Image* seen) {
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

void RealWindowPlayer::KeepPendingScreenshot() {
  if (pendingScreenshot_) {
    game_.KeepScreenshot(pendingScreenshot_->first, pendingScreenshot_->second);
  }
  pendingScreenshot_.reset();
}

::testing::AssertionResult RealWindowPlayer::SwatterRests(const Image& seen) const {
  const ScreenPlace at = hand_.At();
  const double rest = SpriteShare(seen, swatterAtRest_, at.x, at.y);
  const double swing = SpriteShare(seen, swatterSwinging_, at.x, at.y);
  if (rest >= kSwatterShown && rest > swing) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "the resting swatter at (" << at.x << ", " << at.y
                                       << ") shows " << rest << ", the swinging one " << swing;
}

RealGame::ScreenCheck RealWindowPlayer::SwatterRestsWhereTheHandIs() const {
  return [this](const Image& screenshot) { return SwatterRests(GamePictureOf(screenshot)); };
}

::testing::AssertionResult RealWindowPlayer::SpriteShows(const Image& seen, const std::string& name,
                                                         int x, int y) const {
  const double shown = SpriteShare(seen, game_.Picture(name), x, y);
  if (shown >= kSpriteShown) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << name << " at (" << x << ", " << y << ") shows " << shown;
}

::testing::AssertionResult RealWindowPlayer::SecondsShow(const Image& seen) {
  std::vector<int> seconds;
  for (int left = 1; left <= 60; ++left) seconds.push_back(left);
  secondsLeft_ = hud_->Read(seen, HudNumber::SecondsLeft, seconds);
  if (secondsLeft_) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "no seconds left to read";
}

RealGame::ScreenCheck RealWindowPlayer::PlayScreen(int score, int creamStock, size_t flies) {
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

void RealWindowPlayer::StartAGame() {
  ASSERT_TRUE(See("the title, fly cursor at (0, 0)", TitleWithFlyCursorAt(game_, 0, 0)));
  ClickOnTitle(kPlayButton, "Play");
  const Image banner = game_.Picture("Stage.bmp");
  const Image number = game_.Picture("1.bmp");
  const Image intro =
      WithSprite(WithSprite(stage_, banner, 0, 0), number, (kGameWidth - number.width) / 2, 293);
  Image introSeen;
  ASSERT_TRUE(See("the stage 1 intro", ShowsOneOf({intro}), &introSeen));
  game_.Click(1);
  ASSERT_NO_FATAL_FAILURE(LetTheTitlesSwingRunOut(introSeen));
}

void RealWindowPlayer::LetTheTitlesSwingRunOut(const Image& introSeen) {
  // Each change of the picture is at least one frame drawn: the flies move every frame.
  Image last = introSeen;
  int framesSeen = 0;
  ASSERT_TRUE(See("stage 1 past the title's swing", [&](const Image& screenshot) {
    Image seen = GamePictureOf(screenshot);
    if (DifferingPixels(seen, last, kWholeFrame, 0) > 0) {
      ++framesSeen;
      last = std::move(seen);
    }
    if (framesSeen > kTitleSwingFrames) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << framesSeen << " frames of the stage seen";
  }));
}

void RealWindowPlayer::ClickOnTitle(ScreenPlace button, const std::string& name) {
  hand_.MoveTo(button);
  ASSERT_TRUE(See("the fly cursor on " + name, TitleWithFlyCursorAt(game_, button.x, button.y)));
  game_.Click(1);
}

void RealWindowPlayer::SwatUntilTheScoreIsAboveZero() {
  for (int swat = 1; swat <= kMostSwats; ++swat) {
    std::optional<ScreenPlace> aim;
    ASSERT_TRUE(
        See("swat " + std::to_string(swat) + ", flies in reach", [&](const Image& screenshot) {
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

void RealWindowPlayer::DropCream() {
  Image seen;
  ASSERT_TRUE(See("the swatter at rest", SwatterRestsWhereTheHandIs(), &seen));
  const ScreenPlace spot = FarthestFromFlies(FindLiveFlies(seen, stage_, flyPictures_));
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

ScreenPlace RealWindowPlayer::FarthestFromFlies(const std::vector<FlySighting>& flies) {
  ScreenPlace farthest{};
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

void RealWindowPlayer::Surrender() {
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
    ::testing::AssertionResult ok = SpriteShows(seen, "BOK.bmp", kOkPicture.x, kOkPicture.y);
    return ok ? SwatterRests(seen) : ok;
  }));
  soundStoppedAt_ = sound_.Played();
}

void RealWindowPlayer::GiveUp() {
  ASSERT_NO_FATAL_FAILURE(Surrender());
  hand_.MoveTo(kOkButton);
  ASSERT_TRUE(See("the swatter on OK", SwatterRestsWhereTheHandIs()));
  game_.Click(1);
}

Image RealWindowPlayer::HighscoreTable(const std::vector<TableRow>& rows,
                                       std::optional<int> marked) const {
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

std::vector<TableRow> RealWindowPlayer::TableWithThisGame(const std::string& name) const {
  std::vector<TableRow> rows(10, TableRow{"---", 0, {}});
  rows[0] = {name, score_, swatCounts_};
  return rows;
}

RealGame::ScreenCheck RealWindowPlayer::NameEntryShows(const std::string& name) const {
  const std::vector<TableRow> rows = TableWithThisGame(name);
  return ShowsOneOf({HighscoreTable(rows, 0), HighscoreTable(rows, std::nullopt)});
}

void RealWindowPlayer::HoldKey(const std::string& keysym) {
  game_.KeyDown(keysym);
  std::this_thread::sleep_for(kKeyHold);
  game_.KeyUp(keysym);
}

void RealWindowPlayer::TypeName(const std::string& name, const std::vector<std::string>& keysyms) {
  ASSERT_TRUE(
      See("the highscore table, the game in row 0 awaiting its name", NameEntryShows("   ")));
  for (size_t typed = 1; typed <= keysyms.size(); ++typed) {
    HoldKey(keysyms[typed - 1]);
    const std::string shown = name.substr(0, typed) + std::string(3 - typed, ' ');
    ASSERT_TRUE(See("the name reads '" + shown + "'", NameEntryShows(shown)));
  }
}

Bytes RealWindowPlayer::HighscoreFileWithThisGame(const std::string& name) const {
  Bytes bytes = DefaultFileBytes();
  for (size_t i = 0; i < 3; ++i) bytes[i] = static_cast<uint8_t>(name[i]);
  WriteLe32(&bytes[4], static_cast<uint32_t>(score_));
  for (size_t k = 0; k < 8; ++k)
    WriteLe32(&bytes[8 + 4 * k], static_cast<uint32_t>(swatCounts_[k]));
  return bytes;
}

void RealWindowPlayer::LeaveThroughTheExit() {
  ClickOnTitle(kExitButton, "Exit");
  ASSERT_TRUE(See("the age-rating picture", ShowsOneOf({game_.Picture("fsk.bmp")})));
  game_.Click(1);
  ASSERT_EQ(game_.WaitForExit(), 0) << game_.Output();
}
