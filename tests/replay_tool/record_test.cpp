// A session played through the whole program and recorded, then played back by zimbrel-replay
// in a process of its own: the same state lines (the rules clock's readings among them), the
// same last frame, the same highscores, and the window manager's close at the same flip. And
// a title left idle longer than a replay lets a line buy: it still plays back.
#include <SDL.h>

#include "game/state_line.h"
#include "input/keyboard.h"
#include "platform/sdl/game_window.h"
#include "platform/seams/flip_observer.h"
#include "platform/seams/headless.h"
#include "replay/replay_recorder.h"
#include "tests/support/game_session.h"
#include "tests/support/highscore_bytes.h"
#include "tests/support/replay_tool_run.h"
#include "tests/support/screen_places.h"
#include "tools/capture/frame_png.h"

namespace fs = std::filesystem;

namespace {

class ReplayRecordTest : public GameSession {
 protected:
  static void CloseTheWindowFromOutside() {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    event.window.windowID = SDL_GetWindowID(PlatformSdlWindow(PlatformMainWindow()));
    SDL_PushEvent(&event);
  }
};

TEST_F(ReplayRecordTest, ARecordedSessionPlaysBackToTheSameLinesFrameHighscoresAndEnd) {
  std::vector<std::string> liveLines;
  CollectStateLines(&liveLines);
  ReplayRecorderStart();
  StartGame();
  MoveCursorTo(kCreditsButton);
  ClickLeft();
  Frames(4);
  // Escape held through the frame's read and three reads of the wait for the keys' release.
  Hold(DIK_ESCAPE);
  for (int read = 0; read < 4; ++read) ToNext(YieldPoint::KeyboardRead);
  Let(DIK_ESCAPE);
  Frames(3);
  MoveCursorTo(kPlayButton);
  ClickLeft();
  Frames(2);  // the title's last frame, and the stage's intro
  ClickLeft();
  Frames(5);  // the stage clock runs, read by the rules in every frame
  MoveBy(-40, 17);
  PressLeft();  // a swat, the button still held when the window is closed
  Frames(2);
  CloseTheWindowFromOutside();
  const uint64_t flipsBeforeTheClose = PresentedFlipCount();
  RunToTheEnd();
  ASSERT_EQ(driver_.ExitCode(), 0);
  ASSERT_TRUE(WriteFramePng(HeadlessLastFrame(), "live-last.png"));

  // The close, pumped at the next read, waited for the flip after it.
  EXPECT_EQ(ReplayRecordedEnd(), flipsBeforeTheClose + 1);
  WriteText("session.replay", ReplayHeaderText() + ReplayRecordedLines());
  const ReplayToolRun run = RunReplayTool({"play", "session.replay", "--lines", "played.lines",
                                           "--png", "played", "--highscores", "played.dat"});
  ASSERT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_EQ(run.errors, "");

  std::string live;
  for (const std::string& line : liveLines) live += line + "\n";
  EXPECT_EQ(FileText("played.lines"), live);
  char lastFrame[32];
  std::snprintf(lastFrame, sizeof lastFrame, "played/flip-%06zu.png", liveLines.size());
  EXPECT_EQ(FileText(lastFrame), FileText("live-last.png"));
  // Nothing was entered: the live run and the replay both wrote the table they began with.
  EXPECT_EQ(FileBytes("Highscore.dat"), TableBytes());
  EXPECT_EQ(FileBytes("played.dat"), TableBytes());
}

// Nothing moves for more flips than a line may buy (drawn with the rules only, for speed): the
// recorder writes a line that changes nothing every half of them, and the replay plays.
TEST_F(ReplayRecordTest, AnIdleTitleIsRecordedWithinTheFlipsALineBuys) {
  HeadlessDrawNothing();
  ReplayRecorderStart();
  StartGame();
  Frames(static_cast<int>(kMostFlipsBetweenLines) + 10);
  CloseTheWindowFromOutside();
  RunToTheEnd();
  const std::string half = std::to_string(kMostFlipsBetweenLines / 2);
  const std::string whole = std::to_string(kMostFlipsBetweenLines);
  EXPECT_EQ(ReplayRecordedLines(), half + " 0 mouse 0 0 0 0\n" + whole + " 0 mouse 0 0 0 0\n" +
                                       std::to_string(*ReplayRecordedEnd()) + " end\n");
  WriteText("idle.replay", ReplayHeaderText() + ReplayRecordedLines());
  const ReplayToolRun run = RunReplayTool({"play", "idle.replay", "--rules-only"});
  EXPECT_EQ(run.exitCode, 0) << run.errors;
}

}  // namespace
