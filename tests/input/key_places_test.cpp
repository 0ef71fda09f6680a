// Keys as French (AZERTY) and German (QWERTZ) keyboards send them, through the event pump into
// the keyboard's state and the name entry's character: every key counts by its place, letters
// and digits too, whatever the layout prints on it.
#include <SDL.h>
#include <gtest/gtest.h>

#include "input/keyboard.h"
#include "tests/support/input_fixture.h"

namespace {

// The character name entry takes for one key pressed alone, or 0; the key is let go after.
char Typed(SDL_Scancode place, SDL_Keycode printed) {
  PushKey(place, true, KMOD_NONE, printed);
  const char typed = ReadTypedKey() ? TypedChar : 0;
  PushKey(place, false, KMOD_NONE, printed);
  PollKeyboard();
  PollKeyboard();
  return typed;
}

using KeyPlacesTest = InputFixture;

TEST_F(KeyPlacesTest, NamesAreTypedByThePlaceOfTheKeyWhateverTheLayoutPrints) {
  // AZERTY: A beside Tab, Z above S, Q where QWERTY has A, a comma at QWERTY's M.
  EXPECT_EQ(Typed(SDL_SCANCODE_Q, SDLK_a), 'Q');
  EXPECT_EQ(Typed(SDL_SCANCODE_W, SDLK_z), 'W');
  EXPECT_EQ(Typed(SDL_SCANCODE_A, SDLK_q), 'A');
  EXPECT_EQ(Typed(SDL_SCANCODE_M, SDLK_COMMA), 'M');
  EXPECT_EQ(Typed(SDL_SCANCODE_1, SDLK_AMPERSAND), '1');
  EXPECT_EQ(Typed(SDL_SCANCODE_0, 0xE0), '0');  // à
  // QWERTZ: Y and Z change places.
  EXPECT_EQ(Typed(SDL_SCANCODE_Y, SDLK_z), 'Y');
  EXPECT_EQ(Typed(SDL_SCANCODE_Z, SDLK_y), 'Z');
  // The keypad's digits never type, whatever it prints.
  EXPECT_EQ(Typed(SDL_SCANCODE_KP_7, SDLK_KP_7), 0);
}

// A key at a letter's place that prints no letter (AZERTY's comma) is still a key: the wait
// for every key up waits for it.
TEST_F(KeyPlacesTest, EveryKeyIsHeldByItsPlaceUntilItsReleaseWhateverTheLayoutSaysMeanwhile) {
  PushKey(SDL_SCANCODE_M, true, KMOD_NONE, SDLK_COMMA);
  PollKeyboard();
  EXPECT_TRUE(KeyHeld(DIK_M));
  // Let go after the layout changed: the same place lets go.
  PushKey(SDL_SCANCODE_M, false, KMOD_NONE, SDLK_m);
  PollKeyboard();
  PollKeyboard();
  for (int code = 0; code < 256; ++code) EXPECT_FALSE(KeyHeld(static_cast<BYTE>(code))) << code;
}

}  // namespace
