// The highscore screen through the whole program: the rows sliding apart in their colours, a
// game that enters the table and is named on the keyboard, and the table kept on the disk.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/name_entry_session.h"
#include "input/keyboard.h"
#include "scores/highscore_file.h"
#include "scores/highscore_screen.h"
#include "scores/highscore_table.h"
#include "shell/screens.h"
#include "tests/support/file_bytes.h"
#include "tests/support/game_session.h"
#include "tests/support/picture_file.h"
#include "tests/support/screen_places.h"

namespace {

uint32_t RowColour(int row) { return 0xFF0000u | static_cast<uint32_t>(255 - 19 * row) << 8; }

// The topmost screen row showing that colour between the columns, or -1.
int TopmostOfColour(const CapturedFrame& frame, uint32_t colour, int fromX, int toX) {
  for (int y = 0; y < frame.height; ++y) {
    for (int x = fromX; x < toX; ++x) {
      if (frame.At(x, y) == colour) return y;
    }
  }
  return -1;
}

std::string NameOf(int row) { return std::string(HighscoreTable[row].name, 3); }

std::string FileNameOf(int row) {
  const Bytes bytes = FileBytes("Highscore.dat");
  if (bytes.size() != 400) return "(" + std::to_string(bytes.size()) + " bytes)";
  return std::string(bytes.begin() + 40 * row, bytes.begin() + 40 * row + 3);
}

class HighscoreScreenTest : public NameEntrySession {};

TEST_F(HighscoreScreenTest, AGameBelowTheTableLeavesItAsItWasAndShowsNoMarker) {
  StartGame();
  MoveCursorTo(kHighscoresButton);
  ClickLeft();
  Frames(2);
  EXPECT_EQ(CurrentScreen, ScreenHighscores);
  EXPECT_FALSE(NameEntryActive);
  for (int frame = 0; frame < 4; ++frame) {
    // The names are "---"; nothing of the first row's colour right of them.
    EXPECT_EQ(TopmostOfColour(HeadlessLastFrame(), RowColour(0), 175, 205), -1);
    Frames(1);
  }
  for (int row = 0; row < 10; ++row) EXPECT_EQ(NameOf(row), "---");
}

// The rows start 3 pixels apart and slide 3 more a frame until they stand 36 apart from the
// twelfth frame on; each in its own colour, yellow at the top to orange at the bottom.
TEST_F(HighscoreScreenTest, TheRowsSlideApartInTheirColours) {
  StartGame();
  MoveCursorTo(kHighscoresButton);
  ClickLeft();
  Frames(2);
  auto rowTops = [] {
    std::vector<int> tops;
    for (int row = 0; row < 10; ++row) {
      tops.push_back(TopmostOfColour(HeadlessLastFrame(), RowColour(row), 0, 640));
    }
    return tops;
  };
  std::vector<int> first = rowTops();
  for (int row = 0; row < 10; ++row) EXPECT_EQ(first[row] - first[0], 3 * row) << row;
  Frames(11);
  std::vector<int> twelfth = rowTops();
  Frames(5);
  EXPECT_EQ(rowTops(), twelfth);
  for (int row = 0; row < 10; ++row) EXPECT_EQ(twelfth[row] - twelfth[0], 36 * row) << row;
  EXPECT_EQ(twelfth[0], first[0]);  // row 0 stays at y 40
  EXPECT_NEAR(first[0], 40, 12);
}

// A game that beats the default table goes into row 0 with three spaces and a blinking marker;
// K, 9 and A name it, its score and counts stay, and the table is on the disk at once.
TEST_F(HighscoreScreenTest, AGameThatQualifiesIsNamedFromTheKeyboardAndSaved) {
  StartGame();
  GameEndsWith(4321, 2);
  ASSERT_TRUE(NameEntryActive);
  EXPECT_EQ(EditRow, 0);
  EXPECT_EQ(NameOf(0), "   ");
  EXPECT_EQ(NameOf(1), "---");
  int markedFrames = 0;
  for (int frame = 0; frame < 6; ++frame) {
    markedFrames += TopmostOfColour(HeadlessLastFrame(), RowColour(0), 130, 205) != -1;
    Frames(1);
  }
  EXPECT_EQ(markedFrames, 3);  // every other frame

  Type(DIK_K);
  Type(DIK_9);
  EXPECT_EQ(NameOf(0), "K9 ");
  EXPECT_EQ(FileNameOf(0), "(0 bytes)");  // nothing saved until the name is complete
  Type(DIK_A);
  EXPECT_FALSE(NameEntryActive);
  EXPECT_EQ(NameOf(0), "K9A");
  EXPECT_EQ(HighscoreTable[0].score, 4321);
  EXPECT_EQ(HighscoreTable[0].swatCounts[7], 2);
  EXPECT_EQ(CurrentGameEntry.score, 0);
  EXPECT_EQ(FileNameOf(0), "K9A");

  // Back from the title, the same game is not entered again.
  Leave();
  MoveCursorTo(kHighscoresButton);
  ClickLeft();
  Frames(2);
  EXPECT_FALSE(NameEntryActive);
  EXPECT_EQ(NameOf(1), "---");
  Leave();
  Tap(DIK_ESCAPE);
  Frames(2);
  ClickLeft();
  RunToTheEnd();
  EXPECT_EQ(FileNameOf(0), "K9A");
}

// Two keys at once type one character, the later in the table's order, and nothing more until
// both are up; Escape leaves the rest of the name as spaces and saves the table.
TEST_F(HighscoreScreenTest, TwoKeysTypeOneCharacterAndEscapeKeepsWhatWasTyped) {
  StartGame();
  GameEndsWith(100, 0);
  Hold(DIK_A);
  Hold(DIK_B);
  ToNext(YieldPoint::KeyboardRead);  // the frame's read
  ToNext(YieldPoint::KeyboardRead);  // the name entry's
  ToNext(YieldPoint::KeyboardRead);
  ToNext(YieldPoint::KeyboardRead);
  EXPECT_EQ(TypedCount, 1);  // waiting for the keys
  Let(DIK_A);
  ToNext(YieldPoint::KeyboardRead);
  ToNext(YieldPoint::KeyboardRead);
  Let(DIK_B);
  Frames(2);
  EXPECT_EQ(TypedCount, 1);
  EXPECT_EQ(NameOf(0), "B  ");
  Leave();
  EXPECT_EQ(CurrentScreen, ScreenTitle);
  EXPECT_EQ(FileNameOf(0), "B  ");
}

// A character typed in the very frame that Escape leaves the screen (after Escape was let go,
// before the frame's typing) belongs to the name like any other, and reaches the file.
TEST_F(HighscoreScreenTest, ACharacterTypedAsEscapeLeavesIsKeptOnTheDisk) {
  StartGame();
  GameEndsWith(100, 0);
  Type(DIK_K);
  Hold(DIK_ESCAPE);
  ToNext(YieldPoint::KeyboardRead);  // the frame's read
  ToNext(YieldPoint::KeyboardRead);  // the wait for every key up
  Let(DIK_ESCAPE);
  ToNext(YieldPoint::KeyboardRead);  // all up: the wait is over
  Hold(DIK_9);
  ToNext(YieldPoint::KeyboardRead);  // the name entry's
  Let(DIK_9);
  Frames(2);
  ASSERT_EQ(CurrentScreen, ScreenTitle);
  EXPECT_EQ(NameOf(0), "K9 ");
  EXPECT_EQ(FileNameOf(0), "K9 ");
}

TEST_F(HighscoreScreenTest, AnEqualScoreGoesBelowTheEarlierOne) {
  StartGame();
  GameEndsWith(500, 0);
  Type(DIK_F);
  Type(DIK_S);
  Type(DIK_T);
  Leave();
  GameEndsWith(500, 1);
  EXPECT_EQ(EditRow, 1);
  Type(DIK_N);
  Type(DIK_D);
  Type(DIK_2);
  EXPECT_EQ(NameOf(0), "FST");
  EXPECT_EQ(NameOf(1), "ND2");
  EXPECT_EQ(HighscoreTable[1].swatCounts[7], 1);
}

// A file written by an earlier run is shown; a name without its zero byte shows three
// characters, the same as one with it.
TEST_F(HighscoreScreenTest, ATableFromTheDiskIsShownAndANameNeverRunsOn) {
  FillDefaultHighscores();
  std::memcpy(HighscoreTable[0].name, "K9AX", 4);  // no zero byte: the score follows
  HighscoreTable[0].score = 0x41414141;
  std::memcpy(HighscoreTable[1].name, "K9A", 4);
  HighscoreTable[1].score = 0x41414141;
  uint8_t bytes[kHighscoreFileBytes];
  EncodeHighscores(bytes);
  EnterRunFolder();
  WriteBytes("Highscore.dat", Bytes(bytes, bytes + sizeof bytes));
  driver_.Start();
  Frames(1);
  MoveCursorTo(kHighscoresButton);
  ClickLeft();
  Frames(13);
  // The two names, each in its row's colour, have the same shape.
  const CapturedFrame& frame = HeadlessLastFrame();
  const int top0 = TopmostOfColour(frame, RowColour(0), 130, 330);
  const int top1 = TopmostOfColour(frame, RowColour(1), 130, 330);
  ASSERT_NE(top0, -1);
  ASSERT_EQ(top1 - top0, 36);
  int differ = 0;
  int shown = 0;
  for (int y = top0; y < top0 + 30; ++y) {
    for (int x = 130; x < 330; ++x) {
      const bool inRow0 = frame.At(x, y) == RowColour(0);
      shown += inRow0;
      differ += inRow0 != (frame.At(x, y + 36) == RowColour(1));
    }
  }
  EXPECT_GT(shown, 50);
  EXPECT_EQ(differ, 0);
}

}  // namespace
