// Runs the whole program in-process on the headless backend, for tests: the game runs on a
// thread of its own and hands control back to the test at every yield point (each flip and
// each read of the mouse or the keyboard), so a test can step it, feed input and look at
// the game's process-wide records between two steps. Only one side runs at a time.
#pragma once

#include <functional>
#include <thread>

#include "platform/seams/headless.h"

class GameDriver {
 public:
  GameDriver();  // switches the platform layer to headless
  ~GameDriver();  // a game still running is abandoned where it stands
  GameDriver(const GameDriver&) = delete;
  GameDriver& operator=(const GameDriver&) = delete;

  // Starts WinMain and runs it up to its first yield point (or to its end).
  void Start();

  // Resumes the game, one yield point at a time, until `done` holds at a yield point or the
  // game has ended. Returns whether `done` held; false also when maxYields ran out.
  bool RunUntil(const std::function<bool()>& done, int maxYields = 1000000);

  // Resumes the game until `count` more frames have been flipped.
  bool RunFlips(int count);

  bool Finished() const { return finished_; }
  int ExitCode() const { return exitCode_; }
  YieldPoint LastYield() const { return lastYield_; }

 private:
  enum class Turn { Driver, Game };
  void GameThread();
  void Resume();
  void YieldToDriver(YieldPoint point);
  static void OnYield(YieldPoint point);

  std::thread thread_;
  Turn turn_ = Turn::Driver;
  bool abort_ = false;
  bool finished_ = false;
  int exitCode_ = -1;
  YieldPoint lastYield_ = YieldPoint::Flip;
};
