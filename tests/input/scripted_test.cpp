// The scripted input of the headless backend: inputs due at chosen device reads.
#include <gtest/gtest.h>

#include "input/input_devices.h"
#include "input/keyboard.h"
#include "platform/sdl/scripted_input.h"
#include "tests/support/input_fixture.h"

namespace {

using ScriptedInputTest = InputFixture;

DIMOUSESTATE ReadMouse() {
  DIMOUSESTATE state{};
  ReadInputDevice(Input.mouse, sizeof state, &state);
  return state;
}

TEST_F(ScriptedInputTest, InputsArriveAtTheReadTheyWereScheduledFor) {
  ScriptedInputInstall();
  ScheduleScriptedInput(YieldPoint::MouseRead, 3, ScriptMouseMotion(7, -2));
  ScheduleScriptedInput(YieldPoint::MouseRead, 3, ScriptMouseButton(0, true));
  ScheduleScriptedInput(YieldPoint::KeyboardRead, 1, ScriptKey(DIK_M, true));
  ScheduleScriptedInput(YieldPoint::MouseRead, 4, ScriptMouseButton(0, false));
  EXPECT_EQ(ScriptedInputPending(), 4u);

  EXPECT_EQ(ReadMouse().lX, 0);
  EXPECT_EQ(ReadMouse().rgbButtons[0], 0);
  DIMOUSESTATE third = ReadMouse();
  EXPECT_EQ(third.lX, 7);
  EXPECT_EQ(third.lY, -2);
  EXPECT_NE(third.rgbButtons[0], 0);
  EXPECT_EQ(ReadMouse().rgbButtons[0], 0);

  // The keyboard's first read comes after all those mouse reads, and gets its key.
  EXPECT_TRUE(ReadTypedKey());
  EXPECT_EQ(TypedChar, 'M');
  EXPECT_EQ(ScriptedInputPending(), 0u);
}

TEST_F(ScriptedInputTest, ScriptedFocusLossReleasesHeldKeys) {
  PushScriptedInput(ScriptKey(DIK_LSHIFT, true));
  PushScriptedInput(ScriptKey(DIK_S, true));
  PollKeyboard();
  EXPECT_NE(KeyboardState[DIK_LSHIFT] & 0x80, 0);
  PushScriptedInput(ScriptFocus(false));
  WaitForKeysReleased();
  EXPECT_EQ(KeyboardState[DIK_LSHIFT], 0);
  EXPECT_EQ(KeyboardState[DIK_S], 0);
}

}  // namespace
