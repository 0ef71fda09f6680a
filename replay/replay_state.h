// What the player's devices say between two lines of a replay, and where each read stands.
// The player of a replay and the recorder share them, so that a line is written exactly where
// a read differs from what the player would give without one.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "platform/win32/dinput.h"
#include "replay/replay_file.h"

// Counts each channel's reads since the last flip.
class ReplayReadCounter {
 public:
  // Where the next read of the channel stands, `flips` having been presented so far.
  ReplayPosition Next(ReplayChannel channel, uint64_t flips);

 private:
  std::array<ReplayPosition, kReplayChannels> next_{};
};

// A read with no line of its own gives no motion and the buttons of the last mouse line (both
// up before the first), the keys of the last keys line (none before the first), and the
// reading of the last clock line (the live clock before the first).
class ReplayHands {
 public:
  void Apply(const ReplayLine& line);
  // Where a replay of one game starts: the buttons and keys it carried, and no clock reading
  // yet, so that the game's first is always a line of its own.
  void StartFrom(const CarriedState& carried);

  DIMOUSESTATE Mouse() const;  // no motion
  void FillKeys(BYTE keys[256]) const;
  std::optional<uint32_t> Clock() const { return clock_; }

  // The line that makes a read give `state`, if the hands alone would not.
  std::optional<ReplayLine> MouseLineFor(const DIMOUSESTATE& state) const;
  std::optional<ReplayLine> KeysLineFor(const BYTE keys[256]) const;
  std::optional<ReplayLine> ClockLineFor(uint32_t ms) const;
  // A mouse line that changes nothing: no motion, the buttons as they are.
  ReplayLine SameMouseLine() const;

 private:
  bool left_ = false;
  bool right_ = false;
  std::array<bool, 256> keys_{};
  std::optional<uint32_t> clock_;
};
