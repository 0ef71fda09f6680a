// A request's head as the server's front reads it off the socket, before any answering thread
// sees it: bounded in size and count, its body's framing judged, and written again for the
// answering side with the body's plain length.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

// Why the front answers a request itself: the status and what is wrong, for the client and the log.
struct Refusal {
  int status = 400;
  std::string reason;
};

struct RequestHead {
  std::string method;
  std::string target;
  std::string version;
  std::vector<std::pair<std::string, std::string>> fields;  // names as sent, values trimmed

  // Every value of the field (named in any case), joined with ", " as HTTP allows.
  std::optional<std::string> Field(std::string_view name) const;
};

constexpr size_t kMostHeadBytes = 32 << 10;
constexpr size_t kMostHeaderFields = 100;

// Reads a head from the start of `bytes`. Nothing while it may still be completed (the bytes
// are short of its blank line and within the bounds); else the head, with `used` its length,
// or why it is refused.
struct HeadReading {
  std::optional<RequestHead> head;
  size_t used = 0;
  std::optional<Refusal> refusal;
};
HeadReading ReadRequestHead(std::string_view bytes);

// How the body follows the head. A coded body (gzip, deflate) is refused: no client of ours
// sends one, and inflating it would let a small request take the memory of a large one.
struct BodyFraming {
  bool chunked = false;
  size_t length = 0;  // when not chunked
  bool expectsContinue = false;
};
std::variant<BodyFraming, Refusal> FramingOf(const RequestHead& head, size_t mostBodyBytes);

// The head as the answering side gets it: the body's length plain, without Transfer-Encoding or
// Expect (both dealt with already), and text/plain as the type of a body sent without one or
// as a form.
std::string ForwardedHead(const RequestHead& head, size_t bodyLength);
