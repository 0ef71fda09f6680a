// Fingers and game controllers play a whole game as the mouse and the keyboard do, and the
// game they played is kept as its proof and verified like any other: they reach the game only
// as the mouse's and the keyboard's reads.
#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "game/play_state.h"
#include "input/input_devices.h"
#include "input/keyboard.h"
#include "replay/kept_games.h"
#include "scores/highscore_screen.h"
#include "tests/support/input_fixture.h"
#include "tests/support/play_session.h"
#include "tests/support/replay_tool_run.h"

namespace {

namespace fs = std::filesystem;

// A finger event at a pixel of the picture; headless, the window is the picture.
void PushFinger(Uint32 type, SDL_FingerID finger, ScreenPlace at) {
  SDL_Event event{};
  event.type = type;
  event.tfinger.touchId = 1;
  event.tfinger.fingerId = finger;
  event.tfinger.x = static_cast<float>(at.x * 2 + 1) / 1280;
  event.tfinger.y = static_cast<float>(at.y * 2 + 1) / 960;
  ASSERT_EQ(SDL_PushEvent(&event), 1);
}

void TapAt(ScreenPlace at) {
  PushFinger(SDL_FINGERDOWN, 1, at);
  PushFinger(SDL_FINGERUP, 1, at);
}

// A controller as SDL's virtual joystick makes one: every button and axis of a game controller.
class VirtualPad {
 public:
  VirtualPad() {
    SDL_VirtualJoystickDesc pad{};
    pad.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    pad.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    pad.naxes = SDL_CONTROLLER_AXIS_MAX;
    pad.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    pad.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
    pad.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
    index_ = SDL_JoystickAttachVirtualEx(&pad);
    joystick_ = SDL_JoystickOpen(index_);
    // A virtual axis starts in its middle, which for a trigger is half pressed.
    Axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, -32768);
    Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
  }
  ~VirtualPad() { Unplug(); }
  bool Plugged() const { return joystick_ != nullptr; }
  void Button(SDL_GameControllerButton button, bool down) {
    SDL_JoystickSetVirtualButton(joystick_, button, down ? 1 : 0);
  }
  void Axis(SDL_GameControllerAxis axis, Sint16 value) {
    SDL_JoystickSetVirtualAxis(joystick_, axis, value);
  }
  void Unplug() {
    if (joystick_ == nullptr) return;
    SDL_JoystickClose(joystick_);
    SDL_JoystickDetachVirtual(index_);
    joystick_ = nullptr;
  }

 private:
  int index_ = -1;
  SDL_Joystick* joystick_ = nullptr;
};

class Controls : public PlaySession {
 protected:
  // The middle of a live fly's picture, where a player taps it. Nothing of the game is set by
  // hand: the kept game must play again as it was played.
  static ScreenPlace LiveFly() {
    int i = 0;
    while (!FlyTable[i].alive) ++i;
    return {FlyTable[i].x + 16, FlyTable[i].y + 16};
  }
  // From the OK box of a game given up: the box tapped or clicked away, the name typed; then
  // the proof the game kept is verified by the replay tool, and a leaderboard's review would
  // not hold it.
  void TakeOkNameAndVerify(bool tapOk) {
    if (tapOk) {
      TapAt({300, 370});  // on the OK picture
    } else {
      MoveCursorTo(kOkButton);
      ClickLeft();
    }
    for (int frame = 0; frame < 10 && !NameEntryActive; ++frame) Frames(1);
    ASSERT_TRUE(NameEntryActive) << "the score goes into the table";
    for (uint8_t key : {DIK_T, DIK_O, DIK_E}) Type(key);
    Frames(1);
    std::string kept;
    for (const auto& entry : fs::directory_iterator(kKeptGamesFolder)) kept = entry.path().string();
    ASSERT_TRUE(kept.ends_with("_TOE_" + std::to_string(HighscoreTable[EditRow].score) + ".replay"))
        << kept;
    const ReplayToolRun run = RunReplayTool({"analyze", kept});
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_TRUE(run.output.ends_with(kept + ": proves what it claims\n")) << run.output;
    EXPECT_NE(run.output.find(": TOE shows nothing no hand gives\n"), std::string::npos) << run.output;
  }
};

// The title's Play button and the intro by taps, a fly swatted by a tap on it, cream by a second
// finger while the first is down; the cream drops under the first finger's swatter.
TEST_F(Controls, FingersPlayAGameThatIsKeptAndVerified) {
  KeepGames();
  StartGame();
  TapAt(kPlayButton);
  Frames(2);
  ASSERT_EQ(CurrentScreen, ScreenPlay);
  TapAt({20, 20});  // the intro
  Frames(12);

  const ScreenPlace fly = LiveFly();
  TapAt(fly);
  Frames(10);
  EXPECT_GE(CurrentGameEntry.score, 100);
  // The swatter's tip under the finger, to the pixel a count leaves.
  EXPECT_NEAR(Cursor.x, fly.x - 33, 1);
  EXPECT_NEAR(Cursor.y, fly.y - 38, 1);

  Frames(2);
  PushFinger(SDL_FINGERDOWN, 7, {201, 151});
  Frames(1);
  PushFinger(SDL_FINGERMOTION, 7, {151, 101});
  PushFinger(SDL_FINGERDOWN, 8, {500, 400});
  Frames(1);
  EXPECT_TRUE(FlyTable[kCreamBlob].alive);
  EXPECT_NEAR(FlyTable[kCreamBlob].x, 151 - 33 + 16, 1);
  EXPECT_NEAR(FlyTable[kCreamBlob].y, 101 - 38 + 16, 1);
  PushFinger(SDL_FINGERUP, 8, {500, 400});
  PushFinger(SDL_FINGERUP, 7, {151, 101});
  Frames(12);
  while (CurrentGameEntry.score <= 0) {
    TapAt(LiveFly());
    Frames(12);
  }

  Tap(DIK_ESCAPE);  // the desktop's Escape stays the keyboard's
  Frames(2);
  TakeOkNameAndVerify(true);
}

// Full tilt crosses the picture in under a second, a slight tilt moves a pixel at a time; A
// swats, B drops cream, and a pad pulled out while A is held lets go of the swat and leaves the
// stage playing. Start, on a pad plugged in again, gives up.
TEST_F(Controls, AGamePadPlaysAGameThatIsKeptAndVerified) {
  KeepGames();
  StartPlaying();
  // SDL heeds controllers only while a window has the focus, which no headless one has.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
  auto pad = std::make_unique<VirtualPad>();
  ASSERT_TRUE(pad->Plugged()) << SDL_GetError();
  pad->Axis(SDL_CONTROLLER_AXIS_LEFTX, -32768);
  Frames(60);
  ASSERT_EQ(Cursor.x, 0);
  pad->Axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
  int frames = 0;
  while (Cursor.x < 575 && frames < 120) {
    Frames(1);
    ++frames;
  }
  EXPECT_LT(frames, 60) << "frames to cross the picture at full tilt";
  EXPECT_GT(frames, 20);
  const int32_t fromX = Cursor.x;
  const int32_t fromY = Cursor.y;
  pad->Axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
  pad->Axis(SDL_CONTROLLER_AXIS_RIGHTY, -9830);  // 30 % up, on the other stick
  Frames(60);
  EXPECT_EQ(Cursor.x, fromX);
  EXPECT_GE(fromY - Cursor.y, 2);
  EXPECT_LE(fromY - Cursor.y, 12);
  pad->Axis(SDL_CONTROLLER_AXIS_RIGHTY, 0);

  const ScreenPlace fly = LiveFly();
  MoveCursorTo(fly.x - 33, fly.y - 38);
  pad->Button(SDL_CONTROLLER_BUTTON_A, true);
  Frames(10);
  pad->Button(SDL_CONTROLLER_BUTTON_A, false);
  EXPECT_GE(CurrentGameEntry.score, 100);
  Frames(2);
  pad->Button(SDL_CONTROLLER_BUTTON_B, true);
  Frames(1);
  pad->Button(SDL_CONTROLLER_BUTTON_B, false);
  EXPECT_TRUE(FlyTable[kCreamBlob].alive);
  EXPECT_EQ(CreamStock, 0);

  Frames(2);
  pad->Button(SDL_CONTROLLER_BUTTON_A, true);
  Frames(1);
  ASSERT_TRUE(Cursor.swatActive);
  pad.reset();
  Frames(30);
  EXPECT_EQ(CurrentScreen, ScreenPlay);
  EXPECT_EQ(MouseState.rgbButtons[0], 0);
  EXPECT_FALSE(Cursor.swatActive);

  VirtualPad again;
  while (CurrentGameEntry.score <= 0) {
    const ScreenPlace next = LiveFly();
    MoveCursorTo(next.x - 33, next.y - 38);
    again.Button(SDL_CONTROLLER_BUTTON_A, true);
    Frames(12);
    again.Button(SDL_CONTROLLER_BUTTON_A, false);
  }
  Frames(1);
  again.Button(SDL_CONTROLLER_BUTTON_START, true);
  for (int read = 0; read < 3; ++read) ToNext(YieldPoint::KeyboardRead);
  again.Button(SDL_CONTROLLER_BUTTON_START, false);
  Frames(2);
  TakeOkNameAndVerify(false);
}

using PadButtons = InputFixture;

// Each of a pad's ways to swat, to drop cream and to give up holds its mouse button or key
// while it is held, and only then.
TEST_F(PadButtons, EachHoldsItsMouseButtonOrKey) {
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
  VirtualPad pad;
  struct Case {
    const char* what;
    int button;  // 0 the left, 1 the right; -1 for Escape
    SDL_GameControllerButton padButton;
    SDL_GameControllerAxis trigger;  // used where the button is SDL_CONTROLLER_BUTTON_INVALID
  };
  const Case cases[] = {
      {"A", 0, SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_AXIS_INVALID},
      {"the right trigger", 0, SDL_CONTROLLER_BUTTON_INVALID, SDL_CONTROLLER_AXIS_TRIGGERRIGHT},
      {"B", 1, SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_AXIS_INVALID},
      {"the left trigger", 1, SDL_CONTROLLER_BUTTON_INVALID, SDL_CONTROLLER_AXIS_TRIGGERLEFT},
      {"Start", -1, SDL_CONTROLLER_BUTTON_START, SDL_CONTROLLER_AXIS_INVALID},
      {"Back", -1, SDL_CONTROLLER_BUTTON_BACK, SDL_CONTROLLER_AXIS_INVALID},
  };
  const auto held = [] {
    DIMOUSESTATE mouse{};
    EXPECT_EQ(Input.mouse->GetDeviceState(sizeof mouse, &mouse), DI_OK);
    PollKeyboard();
    return std::to_string(mouse.rgbButtons[0] != 0) + std::to_string(mouse.rgbButtons[1] != 0) +
           std::to_string((KeyboardState[DIK_ESCAPE] & 0x80) != 0);
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto hold = [&](bool down) {
      if (c.padButton != SDL_CONTROLLER_BUTTON_INVALID) {
        pad.Button(c.padButton, down);
      } else {
        pad.Axis(c.trigger, down ? 32767 : -32768);
      }
    };
    hold(true);
    EXPECT_EQ(held(), c.button == 0 ? "100" : c.button == 1 ? "010" : "001");
    EXPECT_EQ(held(), c.button == 0 ? "100" : c.button == 1 ? "010" : "001");
    hold(false);
    EXPECT_EQ(held(), "000");
  }
}

}  // namespace
