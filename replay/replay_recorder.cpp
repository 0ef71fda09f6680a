#include "replay/replay_recorder.h"

#include "platform/sdl/event_pump.h"
#include "platform/seams/flip_observer.h"
#include "platform/seams/rules_clock.h"
#include "platform/win32/win.h"
#include "replay/replay_state.h"

namespace {

// Room left below a replay's size for what a kept game puts before the lines (its comments and
// the table line) and the end after them.
constexpr size_t kRoomForTheRest = 16 * 1024;

struct Recorder {
  ReplayRecorderOptions options;
  std::string lines;
  std::optional<uint64_t> endFlip;
  bool full = false;
  uint64_t lastLineFlip = 0;
  ReplayReadCounter counter;
  ReplayHands hands;
  bool closeWanted = false;
};
Recorder recorder;

void Note(std::optional<ReplayLine> line, ReplayPosition at) {
  if (!line || recorder.full) return;
  line->at = at;
  const std::string text = ReplayLineText(*line);
  if (recorder.lines.size() + text.size() > kLargestReplayBytes - kRoomForTheRest) {
    recorder.full = true;
    return;
  }
  recorder.hands.Apply(*line);
  recorder.lines += text;
  recorder.lastLineFlip = at.flip;
}

// Half the bound, so that a line comes in time even where reads of the mouse are sparse.
bool IdledTooLong(uint64_t flip) {
  return flip - recorder.lastLineFlip >= kMostFlipsBetweenLines / 2;
}

void NoteMouse(ReplayPosition at, const DIMOUSESTATE& mouse) {
  std::optional<ReplayLine> line = recorder.hands.MouseLineFor(mouse);
  if (!line && IdledTooLong(at.flip)) line = recorder.hands.SameMouseLine();
  Note(std::move(line), at);
}

void NoteRead(DeviceKind kind, void* state) {
  if (recorder.options.answer != nullptr) recorder.options.answer(kind, state);
  const uint64_t flips = PresentedFlipCount();
  if (kind == DeviceKind::Mouse) {
    NoteMouse(recorder.counter.Next(ReplayChannel::Mouse, flips),
              *static_cast<const DIMOUSESTATE*>(state));
  } else {
    const ReplayPosition at = recorder.counter.Next(ReplayChannel::Keys, flips);
    Note(recorder.hands.KeysLineFor(static_cast<const BYTE*>(state)), at);
  }
}

DWORD NoteClockReading(DWORD live) {
  const ReplayPosition at = recorder.counter.Next(ReplayChannel::Clock, PresentedFlipCount());
  Note(recorder.hands.ClockLineFor(live), at);
  return live;
}

// Only the first close counts: the window is gone once the frame loop has taken it.
void WantClose() {
  if (!recorder.endFlip) recorder.closeWanted = true;
}

void CloseAtThisFlip() {
  if (!recorder.closeWanted) return;
  recorder.closeWanted = false;
  recorder.endFlip = PresentedFlipCount();
  if (!recorder.full) recorder.lines += ReplayEndText(*recorder.endFlip);
  HWND window = PlatformMainWindow();
  if (WindowAlive(window)) PostWindowMessage(window, WM_CLOSE, 0, 0);
}

}  // namespace

void ReplayRecorderStart(const ReplayRecorderOptions& options) {
  recorder.options = options;
  if (options.hearsAnswers) return;
  SetDeviceReadHook(NoteRead);
  if (options.noteClock) SetRulesClockHook(NoteClockReading);
  if (options.holdClose) {
    SetCloseRequestHandler(WantClose);
    AddFlipObserver(CloseAtThisFlip);
  }
}

void ReplayRecorderHear(const ReplayLine& answer) {
  switch (answer.channel) {
    case ReplayChannel::Mouse: {
      DIMOUSESTATE mouse{};
      mouse.lX = answer.dx;
      mouse.lY = answer.dy;
      mouse.rgbButtons[0] = answer.left ? 0x80 : 0;
      mouse.rgbButtons[1] = answer.right ? 0x80 : 0;
      NoteMouse(answer.at, mouse);
      break;
    }
    case ReplayChannel::Keys: {
      BYTE keys[256] = {};
      for (uint8_t code : answer.keys) keys[code] = 0x80;
      Note(recorder.hands.KeysLineFor(keys), answer.at);
      break;
    }
    case ReplayChannel::Clock:
      Note(recorder.hands.ClockLineFor(answer.ms), answer.at);
      break;
  }
}

void ReplayRecorderBeginAgain(const CarriedState& carried) {
  recorder.lines.clear();
  recorder.full = false;
  recorder.hands.StartFrom(carried);
  recorder.lastLineFlip = PresentedFlipCount();
}

const std::string& ReplayRecordedLines() { return recorder.lines; }
std::optional<uint64_t> ReplayRecordedEnd() { return recorder.endFlip; }
bool ReplayRecordingFull() { return recorder.full; }
