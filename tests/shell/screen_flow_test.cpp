// The screens and the ways between them, played through the whole program headless: the title
// menu and its buttons, the credits with their sweep, the exit picture, the way to the
// highscores after a game that beats the table, and the end of the program.
#include <SDL.h>

#include <cstring>
#include <fstream>
#include <ostream>
#include <vector>

#include "graphics/bitmap_surface.h"
#include "graphics/cursor_images.h"
#include "input/keyboard.h"
#include "platform/sdl/game_window.h"
#include "scores/highscore_table.h"
#include "shell/screens.h"
#include "shell/win_main.h"
#include "tests/support/file_bytes.h"
#include "tests/support/game_session.h"
#include "tests/support/highscore_bytes.h"
#include "tests/support/screen_places.h"

namespace {

class ScreenFlowTest : public GameSession {
 protected:
  void ClickAt(ScreenPlace at) {
    MoveCursorTo(at.x, at.y);
    ClickLeft();
    Frames(1);
  }
  // Whether the frame shown last is that picture file, stretched over the whole frame.
  static bool FrameShowsFile(const char* path) {
    IDirectDrawSurface7* picture = LoadBitmapSurface(Display.directDraw, path, 0, 0);
    const bool shown = FrameShowsPicture(picture);
    if (picture) picture->Release();
    return shown;
  }
  // Runs `yields` device reads and flips, and says how many of them were flips.
  int FlipsIn(int yields) {
    int flips = 0;
    int seen = 0;
    driver_.RunUntil([&] {
      flips += driver_.LastYield() == YieldPoint::Flip;
      return ++seen == yields;
    });
    return flips;
  }
};

TEST_F(ScreenFlowTest, TheFirstFrameShowsTheTitleWithItsFlyAndStaysThere) {
  StartGame();
  EXPECT_EQ(CurrentScreen, ScreenTitle);
  EXPECT_FALSE(ScreenFirstFrame);
  EXPECT_TRUE(Cursor.animated);
  EXPECT_FALSE(Cursor.swatter);
  for (IDirectDrawSurface7* fly : CursorImages.images) EXPECT_NE(fly, nullptr);
  EXPECT_FALSE(FrameShowsFile("gfx\\Start.bmp"));  // the fly sits on it
  EXPECT_TRUE(FrameShowsPicture(ImageSlots[0], 0, 0, CursorImages.width, CursorImages.height));
  Frames(5);
  EXPECT_EQ(CurrentScreen, ScreenTitle);
  for (int row = 0; row < 10; ++row) EXPECT_STREQ(HighscoreTable[row].name, "---");
}

TEST_F(ScreenFlowTest, EscapeShowsTheExitPictureAtOnceAndOnlyAClickThereEndsTheGame) {
  StartGame();
  Hold(DIK_ESCAPE);
  Frames(1);
  EXPECT_EQ(CurrentScreen, ScreenExit);  // without waiting for the key to be let go
  Frames(1);
  EXPECT_TRUE(FrameShowsFile("gfx\\fsk.bmp"));
  Let(DIK_ESCAPE);
  EXPECT_EQ(FlipsIn(200), 0);
  EXPECT_FALSE(driver_.Finished());
  ClickLeft();
  RunToTheEnd();
  EXPECT_EQ(driver_.ExitCode(), 0);
  EXPECT_FALSE(WindowAlive(MainWindow));
  EXPECT_EQ(FileBytes("Highscore.dat"), DefaultFileBytes()) << "shutdown writes the table";
}

TEST_F(ScreenFlowTest, TheExitButtonNeedsASecondSeparateClickOnTheExitPicture) {
  StartGame();
  ClickAt(kExitButton);
  EXPECT_EQ(CurrentScreen, ScreenExit);
  Frames(1);
  EXPECT_TRUE(FrameShowsFile("gfx\\fsk.bmp"));
  EXPECT_EQ(FlipsIn(200), 0);
  EXPECT_FALSE(driver_.Finished());
  ClickLeft();
  RunToTheEnd();
  EXPECT_EQ(driver_.ExitCode(), 0);
}

struct ButtonCase {
  const char* name;
  ScreenPlace at;
  Screen target;
};

void PrintTo(const ButtonCase& button, std::ostream* out) { *out << button.name; }

class TitleButtons : public ScreenFlowTest, public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(TitleButtons, LeadToTheirScreenWithItsEntryWork) {
  StartGame();
  ClickAt(GetParam().at);
  EXPECT_EQ(CurrentScreen, GetParam().target);
  EXPECT_TRUE(ScreenFirstFrame);
}

INSTANTIATE_TEST_SUITE_P(
    Each, TitleButtons,
    ::testing::Values(ButtonCase{"Play", kPlayButton, ScreenPlay},
                      ButtonCase{"Credits", kCreditsButton, ScreenCredits},
                      ButtonCase{"Highscores", kHighscoresButton, ScreenHighscores}),
    [](const ::testing::TestParamInfo<ButtonCase>& param) { return param.param.name; });

TEST_F(ScreenFlowTest, AButtonActsOnAButtonHeldBeforeTheCursorCameAndWaitsForItsRelease) {
  StartGame();
  PressLeft();
  Frames(2);
  EXPECT_EQ(CurrentScreen, ScreenTitle);
  MoveCursorTo(kPlayButton);
  ToNext(YieldPoint::MouseRead);  // the frame's own read: the cursor arrives, the button is down
  ToNext(YieldPoint::MouseRead);  // waiting for the release
  EXPECT_EQ(CurrentScreen, ScreenTitle);
  ReleaseLeft();
  Frames(1);
  EXPECT_EQ(CurrentScreen, ScreenPlay);
}

TEST_F(ScreenFlowTest, AClickOnAButtonOverridesEscapeInTheSameFrame) {
  StartGame();
  Hold(DIK_ESCAPE);
  ClickAt(kCreditsButton);
  EXPECT_EQ(CurrentScreen, ScreenCredits);
}

TEST_F(ScreenFlowTest, AScreenNumberOutOfRangeOnlyReadsTheInput) {
  StartGame();
  CurrentScreen = 7;
  int keyboardReads = 0;
  int mouseReads = 0;
  int flips = 0;
  int seen = 0;
  driver_.RunUntil([&] {
    keyboardReads += driver_.LastYield() == YieldPoint::KeyboardRead;
    mouseReads += driver_.LastYield() == YieldPoint::MouseRead;
    flips += driver_.LastYield() == YieldPoint::Flip;
    return ++seen == 40;
  });
  EXPECT_EQ(flips, 0);
  EXPECT_EQ(keyboardReads, 20);
  EXPECT_EQ(mouseReads, 20);
}

// A game that beats row 9 sends the title's entry straight on to the highscores, with nothing
// drawn in between; one that only equals it leaves the title be.
TEST_F(ScreenFlowTest, OnlyAGameAboveTheLastRowPassesFromTheTitleToTheHighscores) {
  StartGame();
  ClickAt(kCreditsButton);
  Frames(1);
  CurrentGameEntry.score = 0;
  Tap(DIK_ESCAPE);
  Frames(2);  // the credits let go, then the title's entry
  EXPECT_EQ(CurrentScreen, ScreenTitle);

  ClickAt(kCreditsButton);
  Frames(1);
  CurrentGameEntry.score = 1;
  Tap(DIK_ESCAPE);
  Frames(1);
  EXPECT_EQ(CurrentScreen, ScreenTitle);
  EXPECT_TRUE(ScreenFirstFrame);
  int mouseReads = 0;
  driver_.RunUntil([&] {
    mouseReads += driver_.LastYield() == YieldPoint::MouseRead;
    return driver_.LastYield() == YieldPoint::Flip;
  });
  EXPECT_EQ(mouseReads, 2);  // two frames, one flip: the title's frame flipped nothing
  EXPECT_EQ(CurrentScreen, ScreenHighscores);

  // Leaving clears the game's score, so the title does not send the player back.
  Tap(DIK_ESCAPE);
  Frames(2);
  EXPECT_EQ(CurrentGameEntry.score, 0);
  EXPECT_EQ(CurrentScreen, ScreenTitle);
  EXPECT_TRUE(FrameShowsPicture(ImageSlots[0], Cursor.x, Cursor.y, 32, 32));
}

// The credits at 32 and at 24 bits per pixel: the sweep streaks every column from x 50 down
// from its row in the colour the column has there, from row 56 to row 449; then the list
// stands, its lines in their colours.
class CreditsSweep : public ScreenFlowTest, public ::testing::WithParamInterface<int> {};

TEST_P(CreditsSweep, UncoversTheListRowByRowThenLeavesItStanding) {
  if (GetParam() == 24) HeadlessFailStep("SetDisplayMode32");
  StartGame();
  ClickAt(kCreditsButton);
  std::vector<std::pair<int, CapturedFrame>> swept;
  Frames(1);
  swept.emplace_back(CreditsSweepRow, HeadlessLastFrame());
  Frames(39);
  swept.emplace_back(CreditsSweepRow, HeadlessLastFrame());
  Frames(354);
  swept.emplace_back(CreditsSweepRow, HeadlessLastFrame());
  Frames(1);
  const CapturedFrame list = HeadlessLastFrame();
  EXPECT_EQ(CreditsSweepRow, 450);
  EXPECT_EQ(swept[0].first, 56);
  EXPECT_EQ(swept[1].first, 95);
  EXPECT_EQ(swept[2].first, 449);

  for (const auto& [row, frame] : swept) {
    int mismatches = 0;
    for (int y = 0; y < 480; ++y) {
      for (int x = 0; x < 640; ++x) {
        const uint32_t expected = (x >= 50 && y >= row) ? list.At(x, row) : list.At(x, y);
        mismatches += frame.At(x, y) != expected;
      }
    }
    EXPECT_EQ(mismatches, 0) << "sweep at row " << row;
  }
  // Row 95 crosses the third line: some of its streaks are coloured.
  int colouredStreaks = 0;
  for (int x = 50; x < 640; ++x) colouredStreaks += swept[1].second.At(x, 479) != 0;
  EXPECT_GT(colouredStreaks, 5);

  auto countColour = [&](int top, uint32_t colour) {
    int count = 0;
    for (int y = top; y < top + 30; ++y) {
      for (int x = 50; x < 640; ++x) count += list.At(x, y) == colour;
    }
    return count;
  };
  EXPECT_GT(countColour(50, 0xFFFF00), 100);  // line 1, yellow
  EXPECT_GT(countColour(90, 0xEBEB00), 100);  // line 3
  EXPECT_GT(countColour(390, 0x555500), 100);  // line 18
  EXPECT_EQ(countColour(390, 0xFFFF00), 0);

  // Leaving and coming back starts the sweep again.
  Tap(DIK_ESCAPE);
  Frames(2);
  EXPECT_EQ(CurrentScreen, ScreenTitle);
  ClickAt(kCreditsButton);
  Frames(1);
  EXPECT_EQ(CreditsSweepRow, 56);
}

INSTANTIATE_TEST_SUITE_P(AtEachDepth, CreditsSweep, ::testing::Values(32, 24),
                         [](const ::testing::TestParamInfo<int>& param) {
                           return std::to_string(param.param) + "Bits";
                         });

// The window manager's close ends the game from any screen, without the exit picture. A run
// that entered no game leaves the file as it is on the disk: here another game in the same
// folder saved its own table meanwhile, and that table stays.
class WindowManagerClose : public ScreenFlowTest, public ::testing::WithParamInterface<bool> {};

TEST_P(WindowManagerClose, EndsTheGameAndLeavesAnotherGamesTableAlone) {
  Bytes kept = DefaultFileBytes();
  std::memcpy(kept.data(), "K9A", 3);
  kept[4] = 0x10;
  kept[5] = 0x27;  // 10000
  EnterRunFolder();
  WriteBytes("Highscore.dat", kept);
  driver_.Start();
  Frames(1);
  EXPECT_STREQ(HighscoreTable[0].name, "K9A");
  EXPECT_EQ(HighscoreTable[0].score, 10000);
  Bytes other = kept;
  std::memcpy(other.data() + 40, "BBB", 3);
  other[44] = 0x88;
  other[45] = 0x13;  // 5000
  {
    std::ofstream out("Highscore.dat", std::ios::binary);
    out.write(reinterpret_cast<const char*>(other.data()), static_cast<std::streamsize>(other.size()));
  }
  if (GetParam()) {
    ClickAt(kCreditsButton);
    Frames(1);
    ASSERT_EQ(CurrentScreen, ScreenCredits);
  }
  SDL_Event close{};
  close.type = SDL_WINDOWEVENT;
  close.window.event = SDL_WINDOWEVENT_CLOSE;
  close.window.windowID = SDL_GetWindowID(PlatformSdlWindow(MainWindow));
  SDL_PushEvent(&close);
  RunToTheEnd();
  EXPECT_EQ(driver_.ExitCode(), 0);
  EXPECT_EQ(FileBytes("Highscore.dat"), other);
}

INSTANTIATE_TEST_SUITE_P(OnTheTitleAndOnTheCredits, WindowManagerClose, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& param) {
                           return param.param ? "Credits" : "Title";
                         });

}  // namespace
