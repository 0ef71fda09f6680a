// Each picture missing in turn: the whole game is played through by the scripted player and
// still ends as it should. A missing picture draws nothing and never stops the game.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "game/state_line.h"
#include "game_session.h"
#include "scripted_player.h"
#include "state_line_fields.h"

namespace {

std::vector<std::string> Pictures() {
  std::vector<std::string> names;
  const std::filesystem::path folder = std::filesystem::path(ZIMBREL_RUN_DIR) / "gfx";
  if (!std::filesystem::is_directory(folder)) return names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class MissingPicture : public GameSession, public ::testing::WithParamInterface<std::string> {};

TEST_P(MissingPicture, TheGameIsPlayedThroughToItsEndAllTheSame) {
  std::vector<std::string> lines;
  CollectStateLines(&lines);
  ScriptedPlayerStart(ScriptedPlayerOptions{});
  SetDeviceReadHook(ScriptedPlayerAnswer);
  StartGame({"gfx/" + GetParam()});
  RunToTheEnd();
  EXPECT_EQ(driver_.ExitCode(), 0);
  EXPECT_EQ(IntField(lines.back(), "screen"), 0);
  EXPECT_EQ(IntField(lines.back(), "stage"), 10);
  EXPECT_TRUE(std::filesystem::exists("Highscore.dat"));
}

INSTANTIATE_TEST_SUITE_P(EachInTurn, MissingPicture, ::testing::ValuesIn(Pictures()),
                         [](const ::testing::TestParamInfo<std::string>& param) {
                           std::string name = param.param.substr(0, param.param.find('.'));
                           return "Without" + name;
                         });

}  // namespace
