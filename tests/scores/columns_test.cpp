// A damaged table's widest score, -2147483648, drawn on the highscore screen: it is cut off at
// the name's column instead of running into it.
#include <gtest/gtest.h>

#include "tests/support/highscore_bytes.h"
#include "tests/support/name_entry_session.h"
#include "scores/highscore_screen.h"

namespace {

using HighscoreColumns = NameEntrySession;

TEST_F(HighscoreColumns, TheWidestScoreStopsShortOfTheNameColumn) {
  Bytes table = DefaultFileBytes();
  table[0] = 0;  // row 0 has no name: nothing of its own is drawn from x = 130 on
  table[7] = 0x80;  // row 0's score: -2147483648
  folder_ = EnterRunFolder();
  WriteBytes("Highscore.dat", table);
  driver_.Start();
  Frames(1);
  ASSERT_NO_FATAL_FAILURE(VisitTheTable());
  const CapturedFrame& frame = HeadlessLastFrame();
  constexpr uint32_t kRowZeroColour = 0xFFFF00;
  int scorePixels = 0;
  int beyondTheColumn = 0;
  for (int y = 40; y < 70; ++y) {
    for (int x = 0; x < 210; ++x) {
      if (frame.At(x, y) != kRowZeroColour) continue;
      ++(x < 130 ? scorePixels : beyondTheColumn);
    }
  }
  EXPECT_GT(scorePixels, 100) << "the score is drawn";
  EXPECT_EQ(beyondTheColumn, 0);
}

}  // namespace
