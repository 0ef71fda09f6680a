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

void OnHangUp(int signalNumber) {
  Remember(signalNumber);
  raise(SIGTERM);
}

// Ours in place of what is there, unless the signal is ignored; what was there is kept.
void Catch(int signalNumber, void (*handler)(int), struct sigaction* before) {
  if (sigaction(signalNumber, nullptr, before) != 0 || before->sa_handler == SIG_IGN) return;
  // Only the hang-up has no handler of its own yet; the others without one keep the default.
  if (signalNumber != SIGHUP && before->sa_handler == SIG_DFL) return;
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
  struct sigaction hangUpBefore;
  Catch(SIGINT, OnInterrupt, &interruptBefore);
  Catch(SIGTERM, OnTerminate, &terminateBefore);
  Catch(SIGHUP, OnHangUp, &hangUpBefore);
}

int EndingSignal() { return endingSignal; }

void EndSessionFromWithin() { Remember(SIGINT); }
