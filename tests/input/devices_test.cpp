// Opening and closing the input devices, and reads that fail.
#include <SDL.h>
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "input/input_devices.h"
#include "input/keyboard.h"
#include "platform/sdl/scripted_input.h"
#include "platform/seams/headless.h"
#include "tests/support/input_fixture.h"

namespace {

struct StepFailure {
  const char* step;
  bool keyboardMade;
  bool mouseMade;
};

void PrintTo(const StepFailure& failure, std::ostream* out) { *out << failure.step; }

class OpenInputFailure : public ::testing::TestWithParam<StepFailure> {
 protected:
  void SetUp() override {
    HeadlessEnable();
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS), 0) << SDL_GetError();
  }
  void TearDown() override { SDL_Quit(); }
};

TEST_P(OpenInputFailure, StopsAtTheStepLeavingWhatWasMadeForCloseInput) {
  const StepFailure& failure = GetParam();
  HeadlessFailStep(failure.step);
  EXPECT_EQ(OpenInput(), E_FAIL);
  EXPECT_NE(Input.directInput, nullptr);
  EXPECT_EQ(Input.keyboard != nullptr, failure.keyboardMade);
  EXPECT_EQ(Input.mouse != nullptr, failure.mouseMade);
  CloseInput();
  EXPECT_EQ(Input.directInput, nullptr);
  EXPECT_EQ(Input.keyboard, nullptr);
  EXPECT_EQ(Input.mouse, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, OpenInputFailure,
    ::testing::Values(StepFailure{"CreateDeviceKeyboard", false, false},
                      StepFailure{"SetCooperativeLevelKeyboard", true, false},
                      StepFailure{"SetDataFormatKeyboard", true, false},
                      StepFailure{"AcquireKeyboard", true, false},
                      StepFailure{"CreateDeviceMouse", true, false},
                      StepFailure{"SetCooperativeLevelMouse", true, true},
                      StepFailure{"SetDataFormatMouse", true, true},
                      StepFailure{"AcquireMouse", true, true}),
    [](const ::testing::TestParamInfo<StepFailure>& param) { return std::string(param.param.step); });

TEST(OpenInput, FailsFirstWhenTheInputObjectCannotBeMade) {
  HeadlessEnable();
  HeadlessFailStep("DirectInputCreateA");
  EXPECT_EQ(OpenInput(), E_FAIL);
  EXPECT_EQ(Input.directInput, nullptr);
  CloseInput();
}

TEST(OpenInput, RefusesWrongFormatsAndFlags) {
  HeadlessEnable();
  ASSERT_EQ(OpenInput(), 0);
  EXPECT_EQ(Input.keyboard->SetCooperativeLevel(nullptr, DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE |
                                                             DISCL_BACKGROUND),
            DIERR_INVALIDPARAM);
  Input.keyboard->Unacquire();
  EXPECT_EQ(Input.keyboard->SetDataFormat(&c_dfDIMouse), DIERR_INVALIDPARAM);
  BYTE small[16];
  EXPECT_EQ(Input.keyboard->GetDeviceState(sizeof small, small), DIERR_INVALIDPARAM);
  CloseInput();
}

using FailingReadTest = InputFixture;

TEST_F(FailingReadTest, CountsAsNothingHeldAndTheNextReadSeesTheKeysAgain) {
  PushScriptedInput(ScriptKey(DIK_ESCAPE, true));
  PollKeyboard();
  ASSERT_NE(KeyboardState[DIK_ESCAPE] & 0x80, 0);

  HeadlessFailStep("GetDeviceStateKeyboard");
  EXPECT_NE(PollKeyboard(), DI_OK);
  EXPECT_EQ(KeyboardState[DIK_ESCAPE], 0);
  WaitForKeysReleased();  // returns: a dead device holds nothing

  HeadlessClearFailures();
  EXPECT_EQ(PollKeyboard(), DI_OK);
  EXPECT_NE(KeyboardState[DIK_ESCAPE] & 0x80, 0);
}

TEST_F(FailingReadTest, ADeviceThatWillNotAcquireIsTriedAgainAtEveryRead) {
  PushScriptedInput(ScriptMouseButton(1, true));
  HeadlessFailStep("GetDeviceStateMouse");
  HeadlessFailStep("AcquireMouse");
  DIMOUSESTATE state{};
  EXPECT_NE(ReadInputDevice(Input.mouse, sizeof state, &state), DI_OK);
  HeadlessClearFailures();
  HeadlessFailStep("AcquireMouse");
  EXPECT_EQ(ReadInputDevice(Input.mouse, sizeof state, &state), DIERR_NOTACQUIRED);
  EXPECT_EQ(state.rgbButtons[1], 0);
  HeadlessClearFailures();
  EXPECT_EQ(ReadInputDevice(Input.mouse, sizeof state, &state), DIERR_NOTACQUIRED);
  EXPECT_EQ(ReadInputDevice(Input.mouse, sizeof state, &state), DI_OK);
  EXPECT_NE(state.rgbButtons[1], 0);
}

}  // namespace
