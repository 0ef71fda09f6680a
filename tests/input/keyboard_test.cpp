// The name-entry keys and the wait for all keys up.
#include <gtest/gtest.h>

#include <initializer_list>

#include "input/keyboard.h"
#include "platform/sdl/scripted_input.h"
#include "tests/support/input_fixture.h"

namespace {

int keyboardReads = 0;

void CountingYield(YieldPoint point) {
  if (point == YieldPoint::KeyboardRead) ++keyboardReads;
  ScriptedInputOnYield(point);
}

class KeyboardTest : public InputFixture {
 protected:
  void SetUp() override {
    InputFixture::SetUp();
    keyboardReads = 0;
    HeadlessSetYieldHandler(CountingYield);
  }

  // Holds exactly these keys at the next poll: what was held before is let go (and read once).
  static void Hold(std::initializer_list<uint8_t> keys) {
    for (uint8_t key : keys) PushScriptedInput(ScriptKey(key, true));
  }
  static void ReleaseAll() {
    PushScriptedInput(ScriptFocus(false));
    PushScriptedInput(ScriptFocus(true));
    PollKeyboard();
  }
};

TEST_F(KeyboardTest, TheLatestHeldKeyInTheTableWins) {
  struct Case {
    std::initializer_list<uint8_t> keys;
    char expected;
  };
  const Case cases[] = {
      {{DIK_A, DIK_B}, 'B'}, {{DIK_B, DIK_A}, 'B'}, {{DIK_A, DIK_5}, '5'},
      {{DIK_0, DIK_9}, '9'}, {{DIK_Z, DIK_A}, 'Z'}, {{DIK_1, DIK_0}, '1'},
      {{DIK_Q}, 'Q'},        {{DIK_LSHIFT, DIK_K}, 'K'},
  };
  for (const Case& c : cases) {
    Hold(c.keys);
    EXPECT_TRUE(ReadTypedKey());
    EXPECT_EQ(TypedChar, c.expected);
    ReleaseAll();
  }
}

TEST_F(KeyboardTest, KeysOutsideTheTableTypeNothing) {
  for (uint8_t key : {DIK_LSHIFT, DIK_SPACE, DIK_NUMPAD5, DIK_NUMPAD0, DIK_RETURN, DIK_BACK,
                      DIK_ESCAPE, DIK_MINUS}) {
    Hold({key});
    EXPECT_FALSE(ReadTypedKey()) << int{key};
    ReleaseAll();
  }
}

TEST_F(KeyboardTest, WaitForKeysReleasedReturnsAtOnceWithNothingHeld) {
  WaitForKeysReleased();
  EXPECT_EQ(keyboardReads, 1);
  EXPECT_FALSE(ReadTypedKey());
}

TEST_F(KeyboardTest, WaitForKeysReleasedWaitsForEveryKeyMappedOrNot) {
  Hold({DIK_LSHIFT, DIK_G});
  ScheduleScriptedInput(YieldPoint::KeyboardRead, 3, ScriptKey(DIK_G, false));
  ScheduleScriptedInput(YieldPoint::KeyboardRead, 6, ScriptKey(DIK_LSHIFT, false));
  WaitForKeysReleased();
  EXPECT_EQ(keyboardReads, 6);
  EXPECT_FALSE(ReadTypedKey()) << "nothing pressed in between";
}

TEST_F(KeyboardTest, LosingTheFocusEndsTheWaitForHeldKeys) {
  Hold({DIK_ESCAPE, DIK_X});
  ScheduleScriptedInput(YieldPoint::KeyboardRead, 4, ScriptFocus(false));
  WaitForKeysReleased();
  EXPECT_EQ(keyboardReads, 4);
}

}  // namespace
