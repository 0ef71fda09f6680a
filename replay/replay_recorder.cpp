#include "replay/replay_recorder.h"

#include "platform/sdl/event_pump.h"
#include "platform/seams/flip_observer.h"
#include "platform/seams/rules_clock.h"
#include "platform/win32/win.h"
#include "replay/replay_state.h"

namespace {

struct Recorder {
  Replay replay;
  ReplayReadCounter counter;
  ReplayHands hands;
  DeviceReadHook answer = nullptr;
  bool closeWanted = false;
};
Recorder recorder;

void Note(std::optional<ReplayLine> line, ReplayPosition at) {
  if (!line) return;
  line->at = at;
  recorder.hands.Apply(*line);
  recorder.replay.lines.push_back(std::move(*line));
}

void NoteRead(DeviceKind kind, void* state) {
  if (recorder.answer != nullptr) recorder.answer(kind, state);
  if (kind == DeviceKind::Mouse) {
    const ReplayPosition at = recorder.counter.Next(ReplayChannel::Mouse, PresentedFlipCount());
    Note(recorder.hands.MouseLineFor(*static_cast<const DIMOUSESTATE*>(state)), at);
  } else {
    const ReplayPosition at = recorder.counter.Next(ReplayChannel::Keys, PresentedFlipCount());
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
  if (!recorder.replay.endFlip) recorder.closeWanted = true;
}

void CloseAtThisFlip() {
  if (!recorder.closeWanted) return;
  recorder.closeWanted = false;
  recorder.replay.endFlip = PresentedFlipCount();
  HWND window = PlatformMainWindow();
  if (WindowAlive(window)) PostWindowMessage(window, WM_CLOSE, 0, 0);
}

}  // namespace

void ReplayRecorderStart(DeviceReadHook answer, bool noteClock) {
  recorder.answer = answer;
  SetDeviceReadHook(NoteRead);
  if (noteClock) SetRulesClockHook(NoteClockReading);
  SetCloseRequestHandler(WantClose);
  AddFlipObserver(CloseAtThisFlip);
}

const Replay& ReplayRecorded() { return recorder.replay; }
