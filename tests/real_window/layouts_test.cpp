// A name typed on a French (AZERTY) and a German (QWERTZ) keyboard, in the real window: the
// game's X server is given the layout with setxkbmap, and xdotool presses the keys that carry
// these letters in it, as a player there would. The name is what the keys' places say: the
// key at QWERTY's Q types Q on every layout.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/real_window_player.h"

namespace {

struct Layout {
  std::string name;  // for setxkbmap
  std::string typed;
  std::vector<std::string> keysyms;
};

void PrintTo(const Layout& layout, std::ostream* out) { *out << layout.name; }

class RealWindowLayouts : public RealWindowPlayer, public ::testing::WithParamInterface<Layout> {};

TEST_P(RealWindowLayouts, ANameIsTypedByThePlacesOfThePlayersKeys) {
  ASSERT_NO_FATAL_FAILURE(Start());
  const std::string command = "setxkbmap -display " + display_.Name() + " " + GetParam().name;
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  ASSERT_NO_FATAL_FAILURE(StartAGame());
  ASSERT_TRUE(See("stage 1 with its flies", PlayScreen(0, 1, 4)));
  ASSERT_NO_FATAL_FAILURE(SwatUntilTheScoreIsAboveZero());
  ASSERT_NO_FATAL_FAILURE(GiveUp());
  ASSERT_NO_FATAL_FAILURE(TypeName(GetParam().typed, GetParam().keysyms));
  HoldKey("Escape");
  ASSERT_NO_FATAL_FAILURE(LeaveThroughTheExit());
  EXPECT_EQ(FileBytes(game_.Folder() / "Highscore.dat"),
            HighscoreFileWithThisGame(GetParam().typed));
}

// AZERTY's A, Z and Q stand where QWERTY has Q, W and A; QWERTZ swaps Y and Z.
INSTANTIATE_TEST_SUITE_P(RealWindow, RealWindowLayouts,
                         ::testing::Values(Layout{"fr", "QWA", {"a", "z", "q"}},
                                           Layout{"de", "YZ1", {"z", "y", "1"}}),
                         [](const ::testing::TestParamInfo<Layout>& param) {
                           return param.param.name;
                         });

}  // namespace
