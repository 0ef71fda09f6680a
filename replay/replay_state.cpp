#include "replay/replay_state.h"

ReplayPosition ReplayReadCounter::Next(ReplayChannel channel, uint64_t flips) {
  ReplayPosition& next = next_[static_cast<int>(channel)];
  if (next.flip != flips) next = {flips, 0};
  return {next.flip, next.read++};
}

void ReplayHands::Apply(const ReplayLine& line) {
  switch (line.channel) {
    case ReplayChannel::Mouse:
      left_ = line.left;
      right_ = line.right;
      break;
    case ReplayChannel::Keys:
      keys_.fill(false);
      for (uint8_t code : line.keys) keys_[code] = true;
      break;
    case ReplayChannel::Clock:
      clock_ = line.ms;
      break;
  }
}

void ReplayHands::StartFrom(const CarriedState& carried) {
  left_ = carried.leftHeld;
  right_ = carried.rightHeld;
  keys_.fill(false);
  for (uint8_t code : carried.keys) keys_[code] = true;
  clock_.reset();
}

DIMOUSESTATE ReplayHands::Mouse() const {
  DIMOUSESTATE state{};
  state.rgbButtons[0] = left_ ? 0x80 : 0;
  state.rgbButtons[1] = right_ ? 0x80 : 0;
  return state;
}

void ReplayHands::FillKeys(BYTE keys[256]) const {
  for (int code = 0; code < 256; ++code) keys[code] = keys_[code] ? 0x80 : 0;
}

// The wheel and the third and fourth buttons are not part of a replay: the game reads neither.
std::optional<ReplayLine> ReplayHands::MouseLineFor(const DIMOUSESTATE& state) const {
  const bool left = state.rgbButtons[0] != 0;
  const bool right = state.rgbButtons[1] != 0;
  if (state.lX == 0 && state.lY == 0 && left == left_ && right == right_) return std::nullopt;
  ReplayLine line;
  line.channel = ReplayChannel::Mouse;
  line.dx = state.lX;
  line.dy = state.lY;
  line.left = left;
  line.right = right;
  return line;
}

std::optional<ReplayLine> ReplayHands::KeysLineFor(const BYTE keys[256]) const {
  ReplayLine line;
  line.channel = ReplayChannel::Keys;
  bool same = true;
  // Code 0 is no key; the game never tests it.
  for (int code = 1; code < 256; ++code) {
    const bool held = (keys[code] & 0x80) != 0;
    if (held) line.keys.push_back(static_cast<uint8_t>(code));
    same = same && held == keys_[code];
  }
  if (same) return std::nullopt;
  return line;
}

std::optional<ReplayLine> ReplayHands::ClockLineFor(uint32_t ms) const {
  if (clock_ == ms) return std::nullopt;
  ReplayLine line;
  line.channel = ReplayChannel::Clock;
  line.ms = ms;
  return line;
}

ReplayLine ReplayHands::SameMouseLine() const {
  ReplayLine line;
  line.channel = ReplayChannel::Mouse;
  line.left = left_;
  line.right = right_;
  return line;
}
