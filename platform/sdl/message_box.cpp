#include "platform/sdl/message_box.h"

#include <SDL.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace {

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
constexpr int kEndingSignalCount = sizeof kEndingSignals / sizeof kEndingSignals[0];

std::atomic<bool> boxShowing{false};
std::atomic<pid_t> boxProcess{0};
std::atomic<int> endingSignal{0};
pid_t gameProcess = 0;
int boxProcessPipe[2] = {-1, -1};  // a process forked for the box writes its number here

// In a process forked while the box is up (the box's own): it dies with the game, and tells
// the game its number. Only async-signal-safe calls here.
void InForkedChild() {
  if (!boxShowing) return;
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != gameProcess) _exit(1);  // the game ended before the line above
  const pid_t self = getpid();
  const ssize_t written = write(boxProcessPipe[1], &self, sizeof self);
  if (written != static_cast<ssize_t>(sizeof self)) _exit(1);
}

// In the game, once it has forked for the box: a signal that came before is acted on now.
void InForkingGame() {
  if (!boxShowing) return;
  pid_t child = 0;
  ssize_t got = 0;
  while ((got = read(boxProcessPipe[0], &child, sizeof child)) < 0 && errno == EINTR) {
  }
  if (got != static_cast<ssize_t>(sizeof child)) return;
  boxProcess = child;
  if (endingSignal != 0) kill(child, SIGKILL);
}

void OnEndingSignal(int signalNumber) {
  const int savedErrno = errno;
  endingSignal = signalNumber;
  const pid_t box = boxProcess;
  if (box > 0) kill(box, SIGKILL);
  errno = savedErrno;
}

}  // namespace

void ShowWarningBox(const char* caption, const char* text) {
  static const bool forksWatched = pthread_atfork(nullptr, InForkingGame, InForkedChild) == 0;
  if (!forksWatched || pipe2(boxProcessPipe, O_CLOEXEC) != 0) {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, caption, text, nullptr);
    return;
  }
  gameProcess = getpid();
  endingSignal = 0;
  boxProcess = 0;
  struct sigaction during{};
  during.sa_handler = OnEndingSignal;
  sigemptyset(&during.sa_mask);
  struct sigaction before[kEndingSignalCount];
  for (int i = 0; i < kEndingSignalCount; ++i) {
    sigaction(kEndingSignals[i], nullptr, &before[i]);
    // A signal ignored before (nohup) stays ignored.
    if (before[i].sa_handler != SIG_IGN) sigaction(kEndingSignals[i], &during, nullptr);
  }
  boxShowing = true;
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, caption, text, nullptr);
  boxShowing = false;
  boxProcess = 0;
  for (int i = 0; i < kEndingSignalCount; ++i) sigaction(kEndingSignals[i], &before[i], nullptr);
  close(boxProcessPipe[0]);
  close(boxProcessPipe[1]);
  // The signal takes effect now, as it would have with no box up: SDL's quit request, or the
  // end of the process.
  if (endingSignal != 0) raise(endingSignal);
}
