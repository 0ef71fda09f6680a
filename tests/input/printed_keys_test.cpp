// Keys as French (AZERTY) and German (QWERTZ) keyboards send them, through the event pump into
// the keyboard's state and the name entry's character: letters and digits count as the layout
// prints them, every other key by its place.
#include <SDL.h>
#include <gtest/gtest.h>

#include <set>

#include "input/keyboard.h"
#include "tests/support/input_fixture.h"

namespace {

void PushKey(SDL_Scancode place, SDL_Keycode printed, bool down) {
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.scancode = place;
  event.key.keysym.sym = printed;
  ASSERT_EQ(SDL_PushEvent(&event), 1);
}

// The character name entry takes for one key pressed alone, or 0; the key is let go after.
char Typed(SDL_Scancode place, SDL_Keycode printed) {
  PushKey(place, printed, true);
  const char typed = ReadTypedKey() ? TypedChar : 0;
  PushKey(place, printed, false);
  PollKeyboard();
  PollKeyboard();
  return typed;
}

using PrintedKeysTest = InputFixture;

TEST_F(PrintedKeysTest, NamesAreTypedAsTheLayoutPrintsTheKeys) {
  // AZERTY: A beside Tab, Z above S, M right of L, Q where QWERTY has A; digits with Shift.
  EXPECT_EQ(Typed(SDL_SCANCODE_Q, SDLK_a), 'A');
  EXPECT_EQ(Typed(SDL_SCANCODE_W, SDLK_z), 'Z');
  EXPECT_EQ(Typed(SDL_SCANCODE_A, SDLK_q), 'Q');
  EXPECT_EQ(Typed(SDL_SCANCODE_SEMICOLON, SDLK_m), 'M');
  EXPECT_EQ(Typed(SDL_SCANCODE_M, SDLK_COMMA), 0) << "QWERTY's M place prints a comma";
  EXPECT_EQ(Typed(SDL_SCANCODE_1, SDLK_AMPERSAND), '1');
  EXPECT_EQ(Typed(SDL_SCANCODE_0, 0xE0), '0');  // à
  // QWERTZ: Y and Z change places.
  EXPECT_EQ(Typed(SDL_SCANCODE_Y, SDLK_z), 'Z');
  EXPECT_EQ(Typed(SDL_SCANCODE_Z, SDLK_y), 'Y');
  // The keypad's digits never type, whatever it prints.
  EXPECT_EQ(Typed(SDL_SCANCODE_KP_7, SDLK_KP_7), 0);
}

TEST_F(PrintedKeysTest, OtherKeysKeepTheirPlaceAndAReleaseLetsGoOfWhatThePressHeld) {
  PushKey(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, true);
  PollKeyboard();
  EXPECT_TRUE(KeyHeld(DIK_ESCAPE));
  PushKey(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, false);
  // A key pressed as AZERTY's A and let go after the layout changed back to QWERTY's Q.
  PushKey(SDL_SCANCODE_Q, SDLK_a, true);
  PollKeyboard();
  EXPECT_TRUE(KeyHeld(DIK_A));
  EXPECT_FALSE(KeyHeld(DIK_Q));
  PushKey(SDL_SCANCODE_Q, SDLK_q, false);
  PollKeyboard();
  PollKeyboard();
  for (int code = 0; code < 256; ++code) EXPECT_FALSE(KeyHeld(static_cast<BYTE>(code))) << code;
}

}  // namespace
