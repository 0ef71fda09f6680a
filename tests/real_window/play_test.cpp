// A whole visit to the game in a real window, as a player makes it, through the built
// `zimbrel` and nothing else: the title, a game of swats and cream given up with "Surrender !",
// the name typed into the highscore table, the table and the credits from the title, and out
// through the exit picture; its sound played to a file. The docs' screenshots are copies of
// three of the screenshots it keeps (the title, the stage, the table from the title).
#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/game_text.h"
#include "tests/support/real_window_player.h"
#include "tests/support/screen_places.h"

namespace {

class RealWindowPlay : public RealWindowPlayer {
 protected:
  Image CreditsList() const {
    static const char* const kLines[18] = {
        "Lead Programmers : Quarrendel",      "AI Programmers : Quarrendel",
        "GFX Programmers : Quarrendel",       "Art Directors : Quarrendel",
        "Ex. Producers : Quarrendel",         "Battle System Designers : Quarrendel",
        "Lead Testers : Quarrendel",          "Assistant Managers : Quarrendel",
        "Coordination Director : Quarrendel", "Qlt. Assurance Managers : Quarrendel",
        "Chief Engeneers : Quarrendel",       "Editors : Quarrendel",
        "Level Designers : Quarrendel",       "Artworkers : Quarrendel",
        "Event Directors : Quarrendel",       "Product Analysts : Quarrendel",
        "Charakter Modellers : Quarrendel",   "Senior Softw. Engs. : Quarrendel"};
    std::vector<GameText> texts;
    for (int line = 1; line <= 18; ++line) {
      // Yellow, then red and green fading together by 10 a line.
      const uint32_t level = line <= 2 ? 255 : static_cast<uint32_t>(255 - 10 * (line - 1));
      texts.push_back({kLines[line - 1], 50, 30 + 20 * line, level << 8 | level});
    }
    return WithGameTexts(Image(kGameWidth, kGameHeight), texts);
  }

  // What the game said beyond the disk audio driver's note of where it writes.
  std::string UnexpectedOutput() const {
    std::istringstream output(game_.Output());
    std::string line;
    std::string unexpected;
    while (std::getline(output, line)) {
      const bool diskDriver =
          line == "CRITICAL: You are using the SDL disk i/o audio driver!" ||
          line == "CRITICAL:  Writing to file [" + sound_.File().string() + "].";
      if (!diskDriver) unexpected += line + "\n";
    }
    return unexpected;
  }
};

TEST_F(RealWindowPlay, APlayerSwatsGivesUpTypesANameLooksAroundAndLeaves) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_NO_FATAL_FAILURE(StartAGame());

  // The first frames of play: the swatter where the fly cursor clicked, the flies out.
  ASSERT_TRUE(See("stage 1 with its flies, the display and the swatter", PlayScreen(0, 1, 4)));
  const std::uintmax_t buzzFrom = sound_.Played();
  EXPECT_GE(*secondsLeft_, 50) << "the stage clock starts when the intro is clicked away";
  const int firstSeconds = *secondsLeft_;
  hand_.MoveTo({300, 200});
  ASSERT_TRUE(See("the swatter moved with the mouse", PlayScreen(0, 1)));

  ASSERT_NO_FATAL_FAILURE(SwatUntilTheScoreIsAboveZero());
  ASSERT_NO_FATAL_FAILURE(DropCream());
  // Swats and cream can all fall within the stage's first second: wait for the next one.
  ASSERT_TRUE(See("the seconds counting down", [this, firstSeconds](const Image& screenshot) {
    const ::testing::AssertionResult shown = SecondsShow(GamePictureOf(screenshot));
    if (!shown || *secondsLeft_ < firstSeconds) return shown;
    return ::testing::AssertionFailure() << "still " << *secondsLeft_ << " seconds left";
  }));
  const std::uintmax_t buzzTo = sound_.Played();
  EXPECT_GE(sound_.BytesBetween(buzzFrom, buzzTo), DiskSound::kQuarterSecond);
  EXPECT_GT(sound_.SoundingShare(buzzFrom, buzzTo), 0.9) << "the flies buzz while they live";

  ASSERT_NO_FATAL_FAILURE(GiveUp());
  // The score beats the table's last row: straight on to the name, in row 0.
  const std::string name = "K9A";
  ASSERT_NO_FATAL_FAILURE(TypeName(name, {"k", "9", "a"}));
  const Image table = HighscoreTable(TableWithThisGame(name), std::nullopt);
  ASSERT_TRUE(See("the name complete, no marker", ShowsOneOf({table})));
  HoldKey("Escape");
  ASSERT_TRUE(See("the title again", TitleWithFlyCursorAt(game_, kOkButton.x, kOkButton.y)));

  ASSERT_NO_FATAL_FAILURE(ClickOnTitle(kHighscoresButton, "Highscores"));
  ASSERT_TRUE(See("the highscore table from the title", ShowsOneOf({table})));
  HoldKey("Escape");
  ASSERT_NO_FATAL_FAILURE(ClickOnTitle(kCreditsButton, "Credits"));
  // The sweep uncovers the list from the top, a row a frame: the first lines stand early.
  ASSERT_TRUE(See("the credits, the first lines swept open",
                  ShowsOneOf({CreditsList()}, {0, 0, kGameWidth, 112})));
  game_.PressKey("Escape");
  ASSERT_NO_FATAL_FAILURE(LeaveThroughTheExit());

  EXPECT_EQ(FileBytes(game_.Folder() / "Highscore.dat"), HighscoreFileWithThisGame(name));
  const std::uintmax_t silenceFrom = soundStoppedAt_ + DiskSound::kQuarterSecond;
  EXPECT_GE(sound_.BytesBetween(silenceFrom, UINTMAX_MAX), DiskSound::kQuarterSecond);
  EXPECT_EQ(sound_.SoundingShare(silenceFrom, UINTMAX_MAX), 0.0)
      << "the surrender stopped every buzz, and nothing sounds after it";
  EXPECT_EQ(UnexpectedOutput(), "");
}

// The game under way is not entered (its name was never asked for): shutdown writes the table
// as it was.
TEST_F(RealWindowPlay, TheWindowManagersCloseInTheMiddleOfAStageEndsTheGame) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_NO_FATAL_FAILURE(StartAGame());
  ASSERT_TRUE(See("stage 1 under way", PlayScreen(0, 1, 4)));
  game_.SendWindowClose();
  EXPECT_EQ(game_.WaitForExit(), 0) << game_.Output();
  EXPECT_EQ(FileBytes(game_.Folder() / "Highscore.dat"), DefaultFileBytes());
}

}  // namespace
