// A logout while the game waits for the player: the desktop sends SIGTERM and kills a few
// seconds later, so the game must end within a second, wherever it waits, with shutdown run
// and every name it holds saved.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>

#include "tests/support/real_window_player.h"

namespace {

constexpr auto kWithinASecond = std::chrono::milliseconds(1000);

class RealWindowSignals : public RealWindowPlayer {
 protected:
  // The signal, and how long the game took to end after it; the exit status must be 0.
  std::chrono::milliseconds EndWith(int signalNumber) {
    const auto sent = std::chrono::steady_clock::now();
    game_.SendSignal(signalNumber);
    const std::optional<int> status = game_.WaitForExit();
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - sent);
    EXPECT_EQ(status, 0) << game_.Output();
    return took;
  }
};

enum class Wait { StageIntro, OkBox };

class EndsAtOnceInAWait : public RealWindowSignals, public ::testing::WithParamInterface<Wait> {};

TEST_P(EndsAtOnceInAWait, WhenSigtermComes) {
  ASSERT_NO_FATAL_FAILURE(Start());
  WriteBytes(game_.Folder() / "Highscore.dat", DefaultFileBytes());
  if (GetParam() == Wait::StageIntro) {
    ASSERT_TRUE(See("the title, fly cursor at (0, 0)", TitleWithFlyCursorAt(game_, 0, 0)));
    ASSERT_NO_FATAL_FAILURE(ClickOnTitle(kPlayButton, "Play"));
    const Image number = game_.Picture("1.bmp");
    const Image intro = WithSprite(WithSprite(stage_, game_.Picture("Stage.bmp"), 0, 0), number,
                                   (kGameWidth - number.width) / 2, 293);
    ASSERT_TRUE(See("the stage 1 intro, waiting for a click", ShowsOneOf({intro})));
  } else {
    ASSERT_NO_FATAL_FAILURE(StartAGame());
    ASSERT_TRUE(See("stage 1 under way", PlayScreen(0, 1, 4)));
    ASSERT_NO_FATAL_FAILURE(Surrender());
  }
  EXPECT_LT(EndWith(SIGTERM), kWithinASecond);
  EXPECT_EQ(FileBytes(game_.Folder() / "Highscore.dat"), DefaultFileBytes());
}

INSTANTIATE_TEST_SUITE_P(RealWindow, EndsAtOnceInAWait,
                         ::testing::Values(Wait::StageIntro, Wait::OkBox),
                         [](const ::testing::TestParamInfo<Wait>& param) {
                           return param.param == Wait::StageIntro ? "StageIntro" : "OkBox";
                         });

// In the middle of a name, a key still held (the game waits for it to be let go): a broken pipe
// changes nothing, and a logout's SIGTERM or Ctrl+\'s SIGQUIT ends the game within a second, the
// table keeping the game with what was typed of its name.
class EndsInANameKeepingIt : public RealWindowSignals, public ::testing::WithParamInterface<int> {};

TEST_P(EndsInANameKeepingIt, WhenTheSignalComes) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_NO_FATAL_FAILURE(StartAGame());
  ASSERT_TRUE(See("stage 1 with its flies", PlayScreen(0, 1, 4)));
  ASSERT_NO_FATAL_FAILURE(SwatUntilTheScoreIsAboveZero());
  ASSERT_NO_FATAL_FAILURE(GiveUp());
  ASSERT_NO_FATAL_FAILURE(TypeName("K", {"k"}));
  // Held: the game takes the 9 and waits for the key to be let go, drawing nothing meanwhile.
  game_.KeyDown("9");
  std::this_thread::sleep_for(kKeyHold);
  game_.SendSignal(SIGPIPE);
  EXPECT_LT(EndWith(GetParam()), kWithinASecond);
  EXPECT_EQ(FileBytes(game_.Folder() / "Highscore.dat"), HighscoreFileWithThisGame("K9 "));
}

INSTANTIATE_TEST_SUITE_P(RealWindow, EndsInANameKeepingIt, ::testing::Values(SIGTERM, SIGQUIT),
                         [](const ::testing::TestParamInfo<int>& param) {
                           return param.param == SIGTERM ? "Sigterm" : "Sigquit";
                         });

}  // namespace
