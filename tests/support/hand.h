// The cursor of a game in a real window, as the test moves it: from (0, 0), two pixels per
// mouse count, so that the test knows where the swatter's corner is without reading it.
#pragma once

#include "tests/support/real_game.h"
#include "tests/support/screen_places.h"

class Hand {
 public:
  explicit Hand(RealGame& game) : game_(game) {}
  void MoveTo(ScreenPlace to);
  // Moved and clicked in one go, with no pause between: a swat where a fly is now.
  void SwatAt(ScreenPlace to);
  ScreenPlace At() const { return {x_, y_}; }

 private:
  // Odd distances are reached one pixel short.
  void Go(ScreenPlace to, bool click);

  RealGame& game_;
  int x_ = 0;
  int y_ = 0;
};
