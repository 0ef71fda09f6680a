// The whole program headless with a game that has just ended and the name typed for it on the
// highscore screen, key by key, as a player types.
#pragma once

#include <cstring>

#include "input/keyboard.h"
#include "scores/highscore_table.h"
#include "shell/screens.h"
#include "tests/support/game_session.h"
#include "tests/support/screen_places.h"

class NameEntrySession : public GameSession {
 protected:

  // A game with this score has just ended: the title's entry passes it on to the highscores.
  void GameEndsWith(int32_t score, int32_t sevenOrMore) {
    MoveCursorTo(kCreditsButton);
    ClickLeft();
    Frames(2);
    CurrentGameEntry.score = score;
    CurrentGameEntry.swatCounts[7] = sevenOrMore;
    std::memcpy(CurrentGameEntry.name, "   ", 4);
    Tap(DIK_ESCAPE);
    Frames(2);  // the credits let go; then the title's entry and the highscores' first frame
    ASSERT_EQ(CurrentScreen, ScreenHighscores);
  }
  void Leave() {
    Tap(DIK_ESCAPE);
    Frames(2);
  }
  // The table from the title's button, its rows slid apart.
  void VisitTheTable() {
    MoveCursorTo(kHighscoresButton);
    ClickLeft();
    Frames(14);
    ASSERT_EQ(CurrentScreen, ScreenHighscores);
  }
};
