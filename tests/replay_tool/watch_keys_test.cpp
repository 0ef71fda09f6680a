// zimbrel-replay watch's keys on the headless backend: each flip the watching holds is, to the
// byte, the frame `play --png` writes for it, whether reached from the start, a step, a jump
// ahead, or a run started again where a key going back asked.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/seams/flip_observer.h"
#include "platform/sdl/scripted_input.h"
#include "platform/win32/dinput.h"
#include "replay/scratch_folder.h"
#include "replay/watching.h"
#include "tests/support/file_bytes.h"
#include "tests/support/game_driver.h"
#include "tests/support/replay_tool_run.h"
#include "tests/support/run_folder.h"
#include "tools/capture/frame_png.h"

namespace fs = std::filesystem;

namespace {

const fs::path kWholeGame = fs::path(ZIMBREL_SOURCE_DIR) / "tests" / "replays" / "whole_game.replay";

// Where a key leaves the watching: held so many flips on from where it was pressed, held at the
// replay's last flip, playing on to a flip, or gone back (the run ends, asking for the next).
constexpr int64_t kLast = -1;
constexpr int64_t kPlays = -2;
constexpr int64_t kBack = -3;

struct Step {
  uint8_t key;
  int64_t then;
  uint64_t playsTo = 0;  // kPlays: where the next key is pressed
};

struct WatchCase {
  const char* name;
  WatchFrom from;
  std::vector<Step> steps;
  WatchFrom back;
};

// `play --png --every 4` writes the frames to compare (all of them take a minute): the
// cases hold multiples of 4 where it matters. The second case starts where the first one's
// left arrow asks, as the next run does.
constexpr uint64_t kEvery = 4;
const WatchCase kCases[] = {
    {"AheadSteppedAndFaster",
     {399, true, 2},
     {{DIK_PERIOD, 1}, {DIK_RIGHT, 300}, {DIK_SPACE, kPlays, 799}, {DIK_PERIOD, 1}, {DIK_EQUALS, 0},
      {DIK_EQUALS, 0}, {DIK_MINUS, 0}, {DIK_END, kLast}, {DIK_LEFT, kBack}},
     {936, true, 3}},
    {"WhereTheArrowWentBack", {936, true, 3}, {{DIK_PERIOD, 1}, {DIK_COMMA, kBack}}, {936, true, 3}},
};

void PrintTo(const WatchCase& watch, std::ostream* out) { *out << watch.name; }

class WatchKeys : public testing::TestWithParam<WatchCase> {};

// Runs until `flip` is presented, then many yields more: whether the game holds there.
bool HeldAt(GameDriver& driver, uint64_t flip) {
  if (!driver.RunUntil([&] { return PresentedFlipCount() >= flip; }, 200000)) return false;
  for (int yield = 0; yield < 50; ++yield) driver.RunUntil([] { return true; });
  return PresentedFlipCount() == flip;
}

TEST_P(WatchKeys, HoldEachFlipAsPlayDrawsIt) {
  const WatchCase& watch = GetParam();
  const fs::path run = EnterRunFolder();
  const ReplayToolRun frames =
      RunReplayTool({"play", kWholeGame.string(), "--png", "frames", "--every", std::to_string(kEvery)});
  ASSERT_EQ(frames.exitCode, 0) << frames.errors;
  std::string error;
  std::optional<Replay> replay = LoadReplay(kWholeGame.string(), &error);
  ASSERT_TRUE(replay) << error;
  const uint64_t last = LastFlipOf(*replay);
  const std::optional<ScratchFolder> scratch = EnterScratchFolder(&error);
  ASSERT_TRUE(scratch && PlaceStartingTable(*replay, &error)) << error;
  WatchReplay(std::move(*replay), watch.from);
  GameDriver driver;
  driver.Start();
  const auto expectHeldAt = [&](uint64_t flip) {
    ASSERT_TRUE(HeldAt(driver, flip)) << "held at " << PresentedFlipCount() << ", not " << flip;
    if (flip % kEvery != 0) return;
    char name[32];
    std::snprintf(name, sizeof name, "flip-%06llu.png", static_cast<unsigned long long>(flip));
    ASSERT_TRUE(WriteFramePng(HeadlessLastFrame(), (run / "held.png").string()));
    EXPECT_EQ(FileText(run / "held.png"), FileText(run / "frames" / name)) << "held at flip " << flip;
  };
  expectHeldAt(watch.from.flip);
  for (const Step& step : watch.steps) {
    const uint64_t now = PresentedFlipCount();
    PushScriptedInput(ScriptKey(step.key, true));
    PushScriptedInput(ScriptKey(step.key, false));
    if (step.then == kPlays) {
      ASSERT_TRUE(driver.RunUntil([&] { return PresentedFlipCount() == step.playsTo; })) << "from " << now;
    } else if (step.then != kBack) {
      expectHeldAt(step.then == kLast ? last : now + step.then);
    }
  }
  driver.RunUntil([] { return false; });
  ASSERT_TRUE(driver.Finished());
  ASSERT_TRUE(WatchingGoesBack());
  EXPECT_EQ(WatchingGoesBack()->flip, watch.back.flip);
  EXPECT_EQ(WatchingGoesBack()->held, watch.back.held);
  EXPECT_EQ(WatchingGoesBack()->speed, watch.back.speed);
  LeaveScratchFolder(*scratch);
}

INSTANTIATE_TEST_SUITE_P(Cases, WatchKeys, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<WatchCase>& watch) { return std::string(watch.param.name); });

}  // namespace
