// A chunked body taken apart as it arrives, its plain bytes bounded: the front refuses it the
// moment it passes the cap, never after holding it whole.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "leaderboard/request_head.h"

class ChunkedBody {
 public:
  explicit ChunkedBody(size_t mostBytes) : most_(mostBytes) {}
  enum class Step { More, Done, Refused };
  // Takes what it can of `bytes` (`used` says how much), adding the chunks' data to `body`.
  // Done once the last chunk and its trailer are in; Refused, with `refusal`, when the body
  // passes the cap or its framing is broken.
  Step Feed(std::string_view bytes, size_t* used, std::string* body);
  const Refusal& Why() const { return refusal_; }

 private:
  enum class Part { Size, Data, DataEnd, Trailer };
  Part part_ = Part::Size;
  size_t left_ = 0;  // of the chunk's data
  size_t most_;
  Refusal refusal_;
};
