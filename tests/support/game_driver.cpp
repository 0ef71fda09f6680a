#include "tests/support/game_driver.h"

#include <SDL.h>

#include <condition_variable>
#include <mutex>

#include "platform/sdl/scripted_input.h"
#include "platform/win32/win.h"
#include "shell/win_main.h"

namespace {

GameDriver* activeDriver = nullptr;
std::mutex handoffMutex;
std::condition_variable handoff;

// Unwinds the game thread when the test is done with a game that has not ended.
struct GameAbandoned {};

}  // namespace

GameDriver::GameDriver() { HeadlessEnable(); }

GameDriver::~GameDriver() {
  if (thread_.joinable()) {
    {
      std::lock_guard<std::mutex> lock(handoffMutex);
      abort_ = true;
      turn_ = Turn::Game;
    }
    handoff.notify_all();
    thread_.join();
  }
  HeadlessSetYieldHandler(nullptr);
  activeDriver = nullptr;
}

void GameDriver::Start() {
  activeDriver = this;
  HeadlessSetYieldHandler(&GameDriver::OnYield);
  turn_ = Turn::Game;
  thread_ = std::thread([this] { GameThread(); });
  std::unique_lock<std::mutex> lock(handoffMutex);
  handoff.wait(lock, [this] { return turn_ == Turn::Driver; });
}

void GameDriver::GameThread() {
  int code = -1;
  try {
    char commandLine[] = "";
    code = WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, 1);
  } catch (const GameAbandoned&) {
  }
  // SDL keeps per-thread data (its error text) that only its own threads give back.
  SDL_TLSCleanup();
  std::lock_guard<std::mutex> lock(handoffMutex);
  exitCode_ = code;
  finished_ = true;
  turn_ = Turn::Driver;
  handoff.notify_all();
}

void GameDriver::OnYield(YieldPoint point) {
  activeDriver->YieldToDriver(point);
  // Input scheduled for this read or flip goes in before the game goes on.
  ScriptedInputOnYield(point);
}

void GameDriver::YieldToDriver(YieldPoint point) {
  std::unique_lock<std::mutex> lock(handoffMutex);
  lastYield_ = point;
  turn_ = Turn::Driver;
  handoff.notify_all();
  handoff.wait(lock, [this] { return turn_ == Turn::Game; });
  if (abort_) throw GameAbandoned{};
}

void GameDriver::Resume() {
  std::unique_lock<std::mutex> lock(handoffMutex);
  turn_ = Turn::Game;
  handoff.notify_all();
  handoff.wait(lock, [this] { return turn_ == Turn::Driver; });
}

bool GameDriver::RunUntil(const std::function<bool()>& done, int maxYields) {
  for (int i = 0; i < maxYields && !finished_; ++i) {
    Resume();
    if (!finished_ && done()) return true;
  }
  return false;
}

bool GameDriver::RunFlips(int count) {
  int flips = 0;
  return RunUntil([&] { return lastYield_ == YieldPoint::Flip && ++flips == count; });
}
