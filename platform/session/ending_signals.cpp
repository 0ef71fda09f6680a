#include "platform/session/ending_signals.h"

#include <signal.h>

namespace {

volatile sig_atomic_t endingSignal = 0;
struct sigaction interruptBefore;
struct sigaction terminateBefore;

void Remember(int signalNumber) {
  if (endingSignal == 0) endingSignal = signalNumber;
}

void PassOn(const struct sigaction& before, int signalNumber) {
  if ((before.sa_flags & SA_SIGINFO) == 0 && before.sa_handler != SIG_DFL &&
      before.sa_handler != SIG_IGN) {
    before.sa_handler(signalNumber);
  }
}

void OnInterrupt(int signalNumber) {
  Remember(signalNumber);
  PassOn(interruptBefore, signalNumber);
}

void OnTerminate(int signalNumber) {
  Remember(signalNumber);
  PassOn(terminateBefore, signalNumber);
}

// A hang-up, or Ctrl+\ in the terminal: a request to leave, carried out as SIGTERM's.
void OnLeave(int signalNumber) {
  Remember(signalNumber);
  raise(SIGTERM);
}

// Ours in place of what is there, unless the signal is ignored; what was there is kept.
void Catch(int signalNumber, void (*handler)(int), struct sigaction* before) {
  if (sigaction(signalNumber, nullptr, before) != 0 || before->sa_handler == SIG_IGN) return;
  // SIGINT and SIGTERM without a handler of their own (SDL's) keep the default.
  if ((signalNumber == SIGINT || signalNumber == SIGTERM) && before->sa_handler == SIG_DFL) return;
  struct sigaction ours{};
  ours.sa_handler = handler;
  ours.sa_flags = SA_RESTART;
  sigemptyset(&ours.sa_mask);
  sigaction(signalNumber, &ours, nullptr);
}

}  // namespace

void CatchEndingSignals() {
  static bool caught = false;
  if (caught) return;
  caught = true;
  struct sigaction leaveBefore;
  Catch(SIGINT, OnInterrupt, &interruptBefore);
  Catch(SIGTERM, OnTerminate, &terminateBefore);
  Catch(SIGHUP, OnLeave, &leaveBefore);
  Catch(SIGQUIT, OnLeave, &leaveBefore);
  // The game writes to no pipe it depends on: a standard error whose reader is gone must not
  // end it.
  signal(SIGPIPE, SIG_IGN);
}

int EndingSignal() { return endingSignal; }

void EndSessionFromWithin() { Remember(SIGINT); }
