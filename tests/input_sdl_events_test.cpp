// Real SDL events pushed into SDL's queue, through the event pump, into the device states.
#include <SDL.h>
#include <gtest/gtest.h>

#include <set>

#include "input/input_devices.h"
#include "input/keyboard.h"
#include "input_fixture.h"
#include "platform/dinput.h"
#include "platform/scancode_table.h"

namespace {

void PushKey(SDL_Scancode scancode, bool down, Uint16 mod = KMOD_NONE) {
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.scancode = scancode;
  event.key.keysym.mod = mod;
  ASSERT_EQ(SDL_PushEvent(&event), 1);
}

void PushMotion(int xrel, int yrel) {
  SDL_Event event{};
  event.type = SDL_MOUSEMOTION;
  event.motion.xrel = xrel;
  event.motion.yrel = yrel;
  ASSERT_EQ(SDL_PushEvent(&event), 1);
}

void PushButton(Uint8 button, bool down) {
  SDL_Event event{};
  event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  event.button.button = button;
  event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  ASSERT_EQ(SDL_PushEvent(&event), 1);
}

void PushFocus(Uint8 change) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.event = change;
  ASSERT_EQ(SDL_PushEvent(&event), 1);
}

DIMOUSESTATE ReadMouse() {
  DIMOUSESTATE state{};
  EXPECT_EQ(Input.mouse->GetDeviceState(sizeof state, &state), DI_OK);
  return state;
}

std::set<int> HeldKeys() {
  PollKeyboard();
  std::set<int> held;
  for (int code = 0; code < 256; ++code) {
    if (KeyboardState[code] & 0x80) held.insert(code);
  }
  return held;
}

using SdlEventsTest = InputFixture;

TEST_F(SdlEventsTest, MotionAddsUpUntilReadAndButtonsKeepTheirIndexes) {
  PushMotion(3, -1);
  PushMotion(2, -2);
  PushButton(SDL_BUTTON_RIGHT, true);
  PushButton(SDL_BUTTON_MIDDLE, true);
  DIMOUSESTATE state = ReadMouse();
  EXPECT_EQ(state.lX, 5);
  EXPECT_EQ(state.lY, -3);
  EXPECT_EQ(state.rgbButtons[0], 0);
  EXPECT_NE(state.rgbButtons[1], 0);
  EXPECT_NE(state.rgbButtons[2], 0);

  PushButton(SDL_BUTTON_RIGHT, false);
  PushButton(SDL_BUTTON_LEFT, true);
  state = ReadMouse();
  EXPECT_EQ(state.lX, 0) << "motion is counted once";
  EXPECT_EQ(state.lY, 0);
  EXPECT_NE(state.rgbButtons[0], 0);
  EXPECT_EQ(state.rgbButtons[1], 0);
  EXPECT_NE(state.rgbButtons[2], 0);
}

TEST_F(SdlEventsTest, WheelNotchesReadAsWindowsWheelUnits) {
  SDL_Event event{};
  event.type = SDL_MOUSEWHEEL;
  event.wheel.y = -2;
  ASSERT_EQ(SDL_PushEvent(&event), 1);
  EXPECT_EQ(ReadMouse().lZ, -240);
}

TEST_F(SdlEventsTest, HugeMotionSaturatesInsteadOfWrapping) {
  for (int i = 0; i < 3; ++i) PushMotion(INT32_MAX, INT32_MIN);
  const DIMOUSESTATE state = ReadMouse();
  EXPECT_EQ(state.lX, INT32_MAX);
  EXPECT_EQ(state.lY, INT32_MIN);
}

TEST_F(SdlEventsTest, ScancodesArriveAsTheKeysOwnCodes) {
  PushKey(SDL_SCANCODE_A, true);
  PushKey(SDL_SCANCODE_ESCAPE, true);
  PushKey(SDL_SCANCODE_KP_7, true);
  PushKey(SDL_SCANCODE_RETURN, true);
  PushKey(SDL_SCANCODE_UP, true);
  EXPECT_EQ(HeldKeys(), (std::set<int>{DIK_A, DIK_ESCAPE, DIK_NUMPAD7, DIK_RETURN, DIK_UP}));

  PushKey(SDL_SCANCODE_A, false);
  PushKey(SDL_SCANCODE_KP_7, false);
  PushKey(SDL_SCANCODE_KP_ENTER, true);
  PushKey(SDL_SCANCODE_7, true);
  EXPECT_EQ(HeldKeys(), (std::set<int>{DIK_ESCAPE, DIK_RETURN, DIK_UP, DIK_NUMPADENTER, DIK_7}));
}

TEST_F(SdlEventsTest, ATapBetweenTwoReadsIsSeenOnceAndNotLost) {
  PushKey(SDL_SCANCODE_Q, true);
  PushKey(SDL_SCANCODE_Q, false);
  PushButton(SDL_BUTTON_LEFT, true);
  PushButton(SDL_BUTTON_LEFT, false);
  EXPECT_EQ(HeldKeys(), std::set<int>{DIK_Q});
  EXPECT_NE(ReadMouse().rgbButtons[0], 0);
  EXPECT_TRUE(HeldKeys().empty());
  EXPECT_EQ(ReadMouse().rgbButtons[0], 0);
}

TEST_F(SdlEventsTest, LosingTheFocusReleasesEverythingAndIgnoresPressesUntilItReturns) {
  PushKey(SDL_SCANCODE_LSHIFT, true);
  PushKey(SDL_SCANCODE_Z, true);
  PushButton(SDL_BUTTON_LEFT, true);
  PushMotion(4, 4);
  PushFocus(SDL_WINDOWEVENT_FOCUS_LOST);
  EXPECT_TRUE(HeldKeys().empty());
  DIMOUSESTATE state = ReadMouse();
  EXPECT_EQ(state.rgbButtons[0], 0);
  EXPECT_EQ(state.lX, 0);

  PushKey(SDL_SCANCODE_Z, true);
  PushButton(SDL_BUTTON_LEFT, true);
  PushMotion(4, 4);
  EXPECT_TRUE(HeldKeys().empty());
  state = ReadMouse();
  EXPECT_EQ(state.rgbButtons[0], 0);
  EXPECT_EQ(state.lX, 0);

  PushFocus(SDL_WINDOWEVENT_FOCUS_GAINED);
  PushKey(SDL_SCANCODE_Z, true);
  EXPECT_EQ(HeldKeys(), std::set<int>{DIK_Z});
  PushMotion(1, 0);  // capturing the pointer again drops motion queued before it
  EXPECT_EQ(ReadMouse().lX, 1);
}

TEST_F(SdlEventsTest, AltEnterLeavesNeitherKeyHeld) {
  PushKey(SDL_SCANCODE_LALT, true, KMOD_LALT);
  PushKey(SDL_SCANCODE_RETURN, true, KMOD_LALT);  // the window toggle keeps this press
  EXPECT_EQ(HeldKeys(), std::set<int>{DIK_LMENU});
  PushKey(SDL_SCANCODE_RETURN, false, KMOD_LALT);
  PushKey(SDL_SCANCODE_LALT, false);
  EXPECT_TRUE(HeldKeys().empty());

  // Enter already held when Alt comes: its release still comes through.
  PushKey(SDL_SCANCODE_RETURN, true);
  PushKey(SDL_SCANCODE_RALT, true, KMOD_RALT);
  EXPECT_EQ(HeldKeys(), (std::set<int>{DIK_RETURN, DIK_RMENU}));
  PushKey(SDL_SCANCODE_RETURN, false, KMOD_RALT);
  PushKey(SDL_SCANCODE_RALT, false);
  EXPECT_TRUE(HeldKeys().empty());
}

TEST(ScancodeTable, EveryKeyHasItsOwnCodeAndMapsBack) {
  std::set<int> codes;
  int mapped = 0;
  for (int scancode = 0; scancode < SDL_NUM_SCANCODES; ++scancode) {
    const uint8_t dik = DikFromScancode(scancode);
    if (dik == 0) continue;
    ++mapped;
    if (scancode == SDL_SCANCODE_NONUSHASH) {
      EXPECT_EQ(dik, DIK_BACKSLASH);  // one key, two names, one code
      continue;
    }
    EXPECT_TRUE(codes.insert(dik).second) << "code " << int{dik} << " given twice";
    EXPECT_EQ(ScancodeFromDik(dik), scancode);
  }
  EXPECT_GE(mapped, 105);
  EXPECT_EQ(DikFromScancode(-1), 0);
  EXPECT_EQ(DikFromScancode(SDL_NUM_SCANCODES), 0);
}

TEST(ScancodeTable, KeypadDigitsHaveTheirOwnCodesApartFromTheDigitRow) {
  const SDL_Scancode keypad[10] = {SDL_SCANCODE_KP_0, SDL_SCANCODE_KP_1, SDL_SCANCODE_KP_2,
                                   SDL_SCANCODE_KP_3, SDL_SCANCODE_KP_4, SDL_SCANCODE_KP_5,
                                   SDL_SCANCODE_KP_6, SDL_SCANCODE_KP_7, SDL_SCANCODE_KP_8,
                                   SDL_SCANCODE_KP_9};
  const uint8_t expected[10] = {0x52, 0x4F, 0x50, 0x51, 0x4B, 0x4C, 0x4D, 0x47, 0x48, 0x49};
  for (int digit = 0; digit < 10; ++digit) {
    EXPECT_EQ(DikFromScancode(keypad[digit]), expected[digit]) << digit;
  }
  EXPECT_EQ(DikFromScancode(SDL_SCANCODE_0), 0x0B);
  EXPECT_EQ(DikFromScancode(SDL_SCANCODE_1), 0x02);
  EXPECT_EQ(DikFromScancode(SDL_SCANCODE_A), 0x1E);
  EXPECT_EQ(DikFromScancode(SDL_SCANCODE_Z), 0x2C);
  EXPECT_EQ(DikFromScancode(SDL_SCANCODE_KP_ENTER), 0x9C);
  EXPECT_EQ(DikFromScancode(SDL_SCANCODE_RIGHT), 0xCD);
}

}  // namespace
