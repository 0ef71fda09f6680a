// Real SDL events pushed into SDL's queue, through the event pump, into the device states.
#include <SDL.h>
#include <gtest/gtest.h>

#include <set>

#include "input/input_devices.h"
#include "input/keyboard.h"
#include "platform/sdl/scancode_table.h"
#include "platform/win32/dinput.h"
#include "tests/support/input_fixture.h"

namespace {

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

// The name keys by their physical place and their DirectInput codes written out, so that a
// wrong code or a wrong character in the name-entry table shows.
TEST_F(SdlEventsTest, EachLetterAndDigitKeyTypesItsOwnCharacter) {
  struct NameKey {
    SDL_Scancode scancode;
    char character;
    int code;
  };
  const NameKey keys[36] = {
      {SDL_SCANCODE_A, 'A', 0x1E}, {SDL_SCANCODE_B, 'B', 0x30}, {SDL_SCANCODE_C, 'C', 0x2E},
      {SDL_SCANCODE_D, 'D', 0x20}, {SDL_SCANCODE_E, 'E', 0x12}, {SDL_SCANCODE_F, 'F', 0x21},
      {SDL_SCANCODE_G, 'G', 0x22}, {SDL_SCANCODE_H, 'H', 0x23}, {SDL_SCANCODE_I, 'I', 0x17},
      {SDL_SCANCODE_J, 'J', 0x24}, {SDL_SCANCODE_K, 'K', 0x25}, {SDL_SCANCODE_L, 'L', 0x26},
      {SDL_SCANCODE_M, 'M', 0x32}, {SDL_SCANCODE_N, 'N', 0x31}, {SDL_SCANCODE_O, 'O', 0x18},
      {SDL_SCANCODE_P, 'P', 0x19}, {SDL_SCANCODE_Q, 'Q', 0x10}, {SDL_SCANCODE_R, 'R', 0x13},
      {SDL_SCANCODE_S, 'S', 0x1F}, {SDL_SCANCODE_T, 'T', 0x14}, {SDL_SCANCODE_U, 'U', 0x16},
      {SDL_SCANCODE_V, 'V', 0x2F}, {SDL_SCANCODE_W, 'W', 0x11}, {SDL_SCANCODE_X, 'X', 0x2D},
      {SDL_SCANCODE_Y, 'Y', 0x15}, {SDL_SCANCODE_Z, 'Z', 0x2C}, {SDL_SCANCODE_0, '0', 0x0B},
      {SDL_SCANCODE_1, '1', 0x02}, {SDL_SCANCODE_2, '2', 0x03}, {SDL_SCANCODE_3, '3', 0x04},
      {SDL_SCANCODE_4, '4', 0x05}, {SDL_SCANCODE_5, '5', 0x06}, {SDL_SCANCODE_6, '6', 0x07},
      {SDL_SCANCODE_7, '7', 0x08}, {SDL_SCANCODE_8, '8', 0x09}, {SDL_SCANCODE_9, '9', 0x0A},
  };
  for (const NameKey& key : keys) {
    PushKey(key.scancode, true);
    EXPECT_TRUE(ReadTypedKey()) << key.character;
    EXPECT_EQ(TypedChar, key.character);
    EXPECT_NE(KeyboardState[key.code] & 0x80, 0) << key.character;
    PushKey(key.scancode, false);
    EXPECT_TRUE(HeldKeys().empty()) << key.character;
  }
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

// Every key of a 105-key ISO keyboard, with the code DirectInput gives it written out.
TEST(ScancodeTable, AStandardKeyboardReadsTheDirectInputCodes) {
  struct KeyCode {
    SDL_Scancode scancode;
    int code;
  };
  const KeyCode keys[] = {
      {SDL_SCANCODE_ESCAPE, 0x01}, {SDL_SCANCODE_F1, 0x3B}, {SDL_SCANCODE_F2, 0x3C},
      {SDL_SCANCODE_F3, 0x3D}, {SDL_SCANCODE_F4, 0x3E}, {SDL_SCANCODE_F5, 0x3F},
      {SDL_SCANCODE_F6, 0x40}, {SDL_SCANCODE_F7, 0x41}, {SDL_SCANCODE_F8, 0x42},
      {SDL_SCANCODE_F9, 0x43}, {SDL_SCANCODE_F10, 0x44}, {SDL_SCANCODE_F11, 0x57},
      {SDL_SCANCODE_F12, 0x58}, {SDL_SCANCODE_PRINTSCREEN, 0xB7}, {SDL_SCANCODE_SCROLLLOCK, 0x46},
      {SDL_SCANCODE_PAUSE, 0xC5}, {SDL_SCANCODE_GRAVE, 0x29}, {SDL_SCANCODE_MINUS, 0x0C},
      {SDL_SCANCODE_EQUALS, 0x0D}, {SDL_SCANCODE_BACKSPACE, 0x0E}, {SDL_SCANCODE_TAB, 0x0F},
      {SDL_SCANCODE_LEFTBRACKET, 0x1A}, {SDL_SCANCODE_RIGHTBRACKET, 0x1B},
      {SDL_SCANCODE_RETURN, 0x1C}, {SDL_SCANCODE_CAPSLOCK, 0x3A}, {SDL_SCANCODE_SEMICOLON, 0x27},
      {SDL_SCANCODE_APOSTROPHE, 0x28}, {SDL_SCANCODE_NONUSHASH, 0x2B},
      {SDL_SCANCODE_BACKSLASH, 0x2B}, {SDL_SCANCODE_LSHIFT, 0x2A},
      {SDL_SCANCODE_NONUSBACKSLASH, 0x56}, {SDL_SCANCODE_COMMA, 0x33},
      {SDL_SCANCODE_PERIOD, 0x34}, {SDL_SCANCODE_SLASH, 0x35}, {SDL_SCANCODE_RSHIFT, 0x36},
      {SDL_SCANCODE_LCTRL, 0x1D}, {SDL_SCANCODE_LGUI, 0xDB}, {SDL_SCANCODE_LALT, 0x38},
      {SDL_SCANCODE_SPACE, 0x39}, {SDL_SCANCODE_RALT, 0xB8}, {SDL_SCANCODE_RGUI, 0xDC},
      {SDL_SCANCODE_APPLICATION, 0xDD}, {SDL_SCANCODE_RCTRL, 0x9D},
      {SDL_SCANCODE_INSERT, 0xD2}, {SDL_SCANCODE_HOME, 0xC7}, {SDL_SCANCODE_PAGEUP, 0xC9},
      {SDL_SCANCODE_DELETE, 0xD3}, {SDL_SCANCODE_END, 0xCF}, {SDL_SCANCODE_PAGEDOWN, 0xD1},
      {SDL_SCANCODE_UP, 0xC8}, {SDL_SCANCODE_LEFT, 0xCB}, {SDL_SCANCODE_DOWN, 0xD0},
      {SDL_SCANCODE_RIGHT, 0xCD}, {SDL_SCANCODE_NUMLOCKCLEAR, 0x45},
      {SDL_SCANCODE_KP_DIVIDE, 0xB5}, {SDL_SCANCODE_KP_MULTIPLY, 0x37},
      {SDL_SCANCODE_KP_MINUS, 0x4A}, {SDL_SCANCODE_KP_PLUS, 0x4E},
      {SDL_SCANCODE_KP_ENTER, 0x9C}, {SDL_SCANCODE_KP_PERIOD, 0x53},
  };
  for (const KeyCode& key : keys) {
    EXPECT_EQ(DikFromScancode(key.scancode), key.code) << SDL_GetScancodeName(key.scancode);
  }
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
