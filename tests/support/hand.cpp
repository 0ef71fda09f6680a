#include "tests/support/hand.h"

void Hand::MoveTo(ScreenPlace to) { Go(to, false); }

void Hand::SwatAt(ScreenPlace to) { Go(to, true); }

void Hand::Go(ScreenPlace to, bool click) {
  const int countsX = (to.x - x_) / 2;
  const int countsY = (to.y - y_) / 2;
  if (click) {
    game_.MoveMouseAndClick(countsX, countsY, 1);
  } else {
    game_.MoveMouse(countsX, countsY);
  }
  x_ += 2 * countsX;
  y_ += 2 * countsY;
}
