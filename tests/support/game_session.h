// The whole program run headless in a fresh runnable folder, with a player's hands: keys held
// and let go, the mouse moved and clicked, frames stepped. Input pushed between two steps is
// seen by the game's next device read.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>

#include "graphics/display.h"
#include "input/mouse_cursor.h"
#include "platform/sdl/scripted_input.h"
#include "tests/support/game_driver.h"
#include "tests/support/run_folder.h"
#include "tests/support/screen_places.h"

class GameSession : public ::testing::Test {
 protected:
  // Starts the program and runs it to its first flip.
  void StartGame(const std::set<std::string>& leftOut = {});

  void Frames(int count) { ASSERT_TRUE(driver_.RunFlips(count)) << "the game ended"; }
  // Runs to the next read of that device (a wait reads again and again without a flip).
  void ToNext(YieldPoint point);
  void RunToTheEnd();

  static void Hold(uint8_t dik) { PushScriptedInput(ScriptKey(dik, true)); }
  static void Let(uint8_t dik) { PushScriptedInput(ScriptKey(dik, false)); }
  static void Tap(uint8_t dik);
  // A key held over the frame's own read and the name entry's, then let go while the game
  // waits for all keys up.
  void Type(uint8_t key) {
    Hold(key);
    for (int read = 0; read < 3; ++read) ToNext(YieldPoint::KeyboardRead);
    Let(key);
    Frames(1);
  }
  static void PressLeft() { PushScriptedInput(ScriptMouseButton(0, true)); }
  static void ReleaseLeft() { PushScriptedInput(ScriptMouseButton(0, false)); }
  static void ClickLeft();
  static void MoveBy(int countsX, int countsY) {
    PushScriptedInput(ScriptMouseMotion(countsX, countsY));
  }
  // Each mouse count moves the cursor two pixels: only even distances are reached exactly.
  static void MoveCursorTo(int x, int y) { MoveBy((x - Cursor.x) / 2, (y - Cursor.y) / 2); }
  static void MoveCursorTo(ScreenPlace place) { MoveCursorTo(place.x, place.y); }

  // Whether the frame shown last is the picture, pixel for pixel, apart from one rectangle
  // (the cursor's, say).
  static bool FrameShowsPicture(IDirectDrawSurface7* picture, int skipX = 0, int skipY = 0,
                                int skipWidth = 0, int skipHeight = 0);

  GameDriver driver_;
  std::filesystem::path folder_;
};
