// A replay shown in the game's own window, at the pace it was played, steered by keys: Space
// pauses and plays; `.` and `,` go one flip forward and back (pausing); `-` and `+` choose a
// speed of 0.25x to 8x; Home and End go to its first and last flip; the arrows 5 s back and
// forth; Escape ends the watching as the session's end would (the waits give up, the window
// closes, the game shuts down). The replay answers the game's reads and the rules clock's
// readings; the keys only hold flips, skip showing them, or start the game again.
//
// The game's records are the process's and a replay plays only forward: going forward runs
// the game ahead with its flips drawn but not shown nor paced; going back ends this run and
// asks for another from the start (WatchingGoesBack), which runs ahead to the flip asked.
// Every flip is drawn as in any run, so the frame held at a flip is that flip's frame. For
// `zimbrel-replay watch` and the browser page's watch link.
#pragma once

#include <cstdint>
#include <optional>

#include "replay/replay_file.h"

struct WatchFrom {
  uint64_t flip = 0;  // run ahead unseen to it (or to the replay's first flip, if later); 0: none
  bool held = false;  // held once there
  int speed = 2;      // index of kWatchSpeeds
};

inline constexpr double kWatchSpeeds[] = {0.25, 0.5, 1, 2, 4, 8};

// The last flip a replay moves the game to: its end's, or its last line's.
uint64_t LastFlipOf(const Replay& replay);

// Before WinMain, once per process; the working folder already holds the replay's table.
void WatchReplay(Replay replay, const WatchFrom& from = {});
// Whether Escape ended it, rather than the replay's own end.
bool WatchingEndedByEscape();
// Where a key going back asked the next run to go; nothing when none did.
std::optional<WatchFrom> WatchingGoesBack();
