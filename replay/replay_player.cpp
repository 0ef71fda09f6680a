#include "replay/replay_player.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/seams/flip_observer.h"
#include "platform/seams/play_under_way.h"
#include "platform/seams/rules_clock.h"
#include "platform/win32/win.h"
#include "replay/replay_state.h"

namespace {

struct ChannelLines {
  std::vector<uint32_t> lines;  // its lines' places among the replay's, in order
  size_t next = 0;
  uint64_t waitFlip = 0;
  uint64_t readsWithoutLine = 0;  // since the last line or flip
};

// The shortest a flip may take, in every build: 1000/60 ms.
constexpr int64_t kFlipMilliseconds = 1000;
constexpr int64_t kFlipsPerSecond = 60;

// The readings of the rules clock so far, for the clock's plausibility: the greatest of
// `60 * reading - 1000 * flips` and where it came from.
struct ClockWatch {
  bool any = false;
  uint32_t last = 0;
  int lastLine = 0;
  int64_t highest = 0;
  uint64_t highestFlip = 0;
  uint32_t highestReading = 0;
  int highestLine = 0;
};

struct Player {
  std::optional<ReplayStart> start;  // until it is put in place
  void (*onStart)() = nullptr;
  std::optional<uint64_t> endFlip;
  std::optional<ClockWatch> clock;
  void (*onAnswer)(const ReplayLine& answer) = nullptr;
  // The replay's lines as parsed: a check's child reads them where its parent put them, and
  // so touches none of their pages anew.
  std::vector<ReplayLine> lines;
  std::array<ChannelLines, kReplayChannels> channels;
  ReplayReadCounter counter;
  ReplayHands hands;
  bool closePosted = false;
  uint64_t lastFlip = 0;  // of the last line, or of the end if later
  int firstLateLine = 0;
};
Player player;

ChannelLines& Lines(ReplayChannel channel) { return player.channels[static_cast<int>(channel)]; }

const ReplayLine& LineAt(const ChannelLines& channel, size_t index) {
  return player.lines[channel.lines[index]];
}

// A replay of one game: at the program's first read, the game's session as it stood at the
// flip after its Play click.
void BeginAtTheStart() {
  if (!player.start) return;
  const ReplayStart start = std::move(*player.start);
  player.start.reset();
  CountFlipsFrom(start.flip);
  player.hands.StartFrom(start.carried);
  if (const std::string fault = BeginPlayWith(start.carried); !fault.empty()) {
    throw ReplayStopped{"the start line: " + fault, start.lineNumber, true};
  }
  if (player.onStart) player.onStart();
}

// Applies the channel's lines up to this read. A line for a read the game never made (it read
// that device fewer times before the next flip) counts at this one. Returns whether any did.
bool CatchUp(ChannelLines& channel, ReplayPosition at, int64_t* dx, int64_t* dy) {
  bool applied = false;
  while (channel.next < channel.lines.size() && LineAt(channel, channel.next).at <= at) {
    const ReplayLine& line = LineAt(channel, channel.next++);
    if (line.at < at && player.firstLateLine == 0) player.firstLateLine = line.lineNumber;
    player.hands.Apply(line);
    *dx += line.dx;
    *dy += line.dy;
    applied = true;
  }
  return applied;
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
      channel.next < channel.lines.size() && LineAt(channel, channel.next).at.flip == at.flip;
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
  BeginAtTheStart();
  CloseAtTheEnd();
  const ReplayChannel channel =
      kind == DeviceKind::Mouse ? ReplayChannel::Mouse : ReplayChannel::Keys;
  ChannelLines& lines = Lines(channel);
  const ReplayPosition at = player.counter.Next(channel, PresentedFlipCount());
  int64_t dx = 0;
  int64_t dy = 0;
  const bool applied = CatchUp(lines, at, &dx, &dy);
  ReplayLine answer;
  answer.channel = channel;
  answer.at = at;
  if (kind == DeviceKind::Mouse) {
    DIMOUSESTATE mouse = player.hands.Mouse();
    mouse.lX = Saturated(dx);
    mouse.lY = Saturated(dy);
    *static_cast<DIMOUSESTATE*>(state) = mouse;
    answer.dx = mouse.lX;
    answer.dy = mouse.lY;
    answer.left = mouse.rgbButtons[0] != 0;
    answer.right = mouse.rgbButtons[1] != 0;
  } else {
    BYTE* keys = static_cast<BYTE*>(state);
    player.hands.FillKeys(keys);
    for (int code = 0; code < 256; ++code) {
      if (keys[code] & 0x80) answer.keys.push_back(static_cast<uint8_t>(code));
    }
  }
  if (player.onAnswer) player.onAnswer(answer);
  CheckForAnEndlessWait(lines, channel, at, applied);
}

std::string Where(int line) {
  return line == 0 ? "the virtual clock" : "line " + std::to_string(line);
}

// A reading at `flip` (flips presented before it) set by line `line` (0: the virtual clock).
// Any two readings at flips f1 < f2 lie at least (f2 - f1 - 1) flips apart in time: the first
// came before flip f1 + 1 was presented, the second after flip f2.
void WatchTheClock(ClockWatch& watch, uint64_t flip, uint32_t reading, int line) {
  if (watch.any && reading < watch.last) {
    throw ReplayStopped{"the rules clock goes back from " + std::to_string(watch.last) + " ms (" +
                            Where(watch.lastLine) + ") to " + std::to_string(reading) + " ms",
                        line, true};
  }
  const int64_t here =
      kFlipsPerSecond * int64_t{reading} - kFlipMilliseconds * static_cast<int64_t>(flip);
  if (watch.any && here < watch.highest - kFlipMilliseconds - kFlipsPerSecond) {
    const uint64_t flips = flip - watch.highestFlip;
    // The fewest whole milliseconds the check lets pass.
    const int64_t least =
        (kFlipMilliseconds * static_cast<int64_t>(flips - 1) - 1) / kFlipsPerSecond;
    throw ReplayStopped{
        "the rules clock advances " + std::to_string(reading - watch.highestReading) +
            " ms over the " + std::to_string(flips) + " flips since its reading of " +
            std::to_string(watch.highestReading) + " ms (" + Where(watch.highestLine) +
            "), where they take at least " + std::to_string(least) + " ms",
        line, true};
  }
  if (!watch.any || here > watch.highest) {
    watch.highest = here;
    watch.highestFlip = flip;
    watch.highestReading = reading;
    watch.highestLine = line;
  }
  watch.any = true;
  watch.last = reading;
  watch.lastLine = line;
}

DWORD AnswerClockReading(DWORD live) {
  BeginAtTheStart();
  const ReplayPosition at = player.counter.Next(ReplayChannel::Clock, PresentedFlipCount());
  int64_t unused = 0;
  ChannelLines& lines = Lines(ReplayChannel::Clock);
  CatchUp(lines, at, &unused, &unused);
  const DWORD reading = player.hands.Clock().value_or(live);
  if (player.clock) {
    const int line = lines.next == 0 ? 0 : LineAt(lines, lines.next - 1).lineNumber;
    WatchTheClock(*player.clock, at.flip, reading, line);
  }
  if (player.onAnswer) {
    ReplayLine answer;
    answer.channel = ReplayChannel::Clock;
    answer.at = at;
    answer.ms = reading;
    player.onAnswer(answer);
  }
  return reading;
}

// The run ends within so many flips of the replay's last flip, whatever lines the game never
// came to read (a clock line, in a game that went another way and never plays again): a
// replay buys no more flips than its lines do.
void OnFlip() {
  CloseAtTheEnd();
  if (PresentedFlipCount() <= player.lastFlip + kFlipsAfterTheReplay) return;
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

void ReplayPlayerStart(Replay replay, const ReplayPlayerOptions& options) {
  player.start = std::move(replay.start);
  player.onStart = options.onStart;
  player.endFlip = replay.endFlip;
  if (options.clockJudged) player.clock = ClockWatch{};
  player.onAnswer = options.onAnswer;
  player.lastFlip = std::max(replay.endFlip.value_or(0), player.start ? player.start->flip : 0);
  player.lines = std::move(replay.lines);
  for (uint32_t index = 0; index < player.lines.size(); ++index) {
    const ReplayLine& line = player.lines[index];
    player.lastFlip = std::max(player.lastFlip, line.at.flip);
    Lines(line.channel).lines.push_back(index);
  }
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
      const int line = LineAt(channel, channel.next).lineNumber;
      if (report.firstUnreadLine == 0 || line < report.firstUnreadLine) {
        report.firstUnreadLine = line;
      }
    }
  }
  return report;
}
