#include "replay/replay_player.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/seams/flip_observer.h"
#include "platform/seams/rules_clock.h"
#include "platform/win32/win.h"
#include "replay/replay_state.h"

namespace {

struct ChannelLines {
  std::vector<ReplayLine> lines;
  size_t next = 0;
  uint64_t waitFlip = 0;
  uint64_t readsWithoutLine = 0;  // since the last line or flip
};

struct Player {
  std::optional<uint64_t> endFlip;
  std::array<ChannelLines, kReplayChannels> channels;
  ReplayReadCounter counter;
  ReplayHands hands;
  bool closePosted = false;
  uint64_t flipsAfterTheReplay = 0;
  int firstLateLine = 0;
};
Player player;

ChannelLines& Lines(ReplayChannel channel) {
  return player.channels[static_cast<int>(channel)];
}

// Applies the channel's lines up to this read. A line for a read the game never made (it read
// that device fewer times before the next flip) counts at this one. Returns whether any did.
bool CatchUp(ChannelLines& channel, ReplayPosition at, int64_t* dx, int64_t* dy) {
  bool applied = false;
  while (channel.next < channel.lines.size() && channel.lines[channel.next].at <= at) {
    const ReplayLine& line = channel.lines[channel.next++];
    if (line.at < at && player.firstLateLine == 0) player.firstLateLine = line.lineNumber;
    player.hands.Apply(line);
    *dx += line.dx;
    *dy += line.dy;
    applied = true;
  }
  return applied;
}

bool LinesLeft() {
  return std::any_of(player.channels.begin(), player.channels.end(),
                     [](const ChannelLines& channel) { return channel.next < channel.lines.size(); });
}

// The end's close, posted the moment the game has presented that many flips.
void CloseAtTheEnd() {
  if (!player.endFlip || player.closePosted || PresentedFlipCount() < *player.endFlip) return;
  player.closePosted = true;
  HWND window = PlatformMainWindow();
  if (WindowAlive(window)) PostWindowMessage(window, WM_CLOSE, 0, 0);
}

// A read with no line, and none to come before the next flip, gives what the last one gave; a
// wait that this did not end at once never ends.
void CheckForAnEndlessWait(ChannelLines& channel, ReplayChannel kind, ReplayPosition at,
                           bool applied) {
  if (applied || channel.waitFlip != at.flip) {
    channel.waitFlip = at.flip;
    channel.readsWithoutLine = 0;
  }
  const bool lineAhead =
      channel.next < channel.lines.size() && channel.lines[channel.next].at.flip == at.flip;
  if (applied || lineAhead || ++channel.readsWithoutLine < kReadsOfAnEndlessWait) return;
  throw ReplayStopped{"the game waits for the player after flip " + std::to_string(at.flip) +
                      ": it has read the " + (kind == ReplayChannel::Mouse ? "mouse" : "keyboard") +
                      " " + std::to_string(kReadsOfAnEndlessWait) +
                      " times and the replay has nothing more to end the wait"};
}

LONG Saturated(int64_t counts) {
  return static_cast<LONG>(std::clamp<int64_t>(counts, INT32_MIN, INT32_MAX));
}

void AnswerRead(DeviceKind kind, void* state) {
  CloseAtTheEnd();
  const ReplayChannel channel = kind == DeviceKind::Mouse ? ReplayChannel::Mouse
                                                          : ReplayChannel::Keys;
  ChannelLines& lines = Lines(channel);
  const ReplayPosition at = player.counter.Next(channel, PresentedFlipCount());
  int64_t dx = 0;
  int64_t dy = 0;
  const bool applied = CatchUp(lines, at, &dx, &dy);
  if (kind == DeviceKind::Mouse) {
    DIMOUSESTATE mouse = player.hands.Mouse();
    mouse.lX = Saturated(dx);
    mouse.lY = Saturated(dy);
    *static_cast<DIMOUSESTATE*>(state) = mouse;
  } else {
    player.hands.FillKeys(static_cast<BYTE*>(state));
  }
  CheckForAnEndlessWait(lines, channel, at, applied);
}

DWORD AnswerClockReading(DWORD live) {
  const ReplayPosition at = player.counter.Next(ReplayChannel::Clock, PresentedFlipCount());
  int64_t unused = 0;
  CatchUp(Lines(ReplayChannel::Clock), at, &unused, &unused);
  return player.hands.Clock().value_or(live);
}

void OnFlip() {
  CloseAtTheEnd();
  const bool over = !LinesLeft() && (!player.endFlip || player.closePosted);
  if (!over || ++player.flipsAfterTheReplay <= kFlipsAfterTheReplay) return;
  const std::string flips = std::to_string(kFlipsAfterTheReplay);
  if (player.endFlip) {
    throw ReplayStopped{"the game has not closed " + flips + " flips after the end at flip " +
                        std::to_string(*player.endFlip) + ": it waits for the player"};
  }
  throw ReplayStopped{"the replay's lines ran out, and " + flips +
                      " flips later the game still runs; a replay ends with '<flip> end' or with "
                      "the game's own exit"};
}

}  // namespace

void ReplayPlayerStart(Replay replay) {
  player.endFlip = replay.endFlip;
  for (ReplayLine& line : replay.lines) Lines(line.channel).lines.push_back(std::move(line));
  SetDeviceReadHook(AnswerRead);
  SetRulesClockHook(AnswerClockReading);
  AddFlipObserver(OnFlip);
}

ReplayPlayerReport ReplayPlayerResult() {
  ReplayPlayerReport report;
  report.endFlip = player.endFlip;
  report.closedAtEnd = player.closePosted;
  report.firstLateLine = player.firstLateLine;
  for (const ChannelLines& channel : player.channels) {
    if (channel.next < channel.lines.size()) {
      const int line = channel.lines[channel.next].lineNumber;
      if (report.firstUnreadLine == 0 || line < report.firstUnreadLine) {
        report.firstUnreadLine = line;
      }
    }
  }
  return report;
}
