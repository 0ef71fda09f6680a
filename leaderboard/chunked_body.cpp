#include "leaderboard/chunked_body.h"

#include <algorithm>
#include <charconv>

namespace {

// A chunk's size line or a trailer line past this is not one a client writes.
constexpr size_t kLongestLine = 4096;

}  // namespace

ChunkedBody::Step ChunkedBody::Feed(std::string_view bytes, size_t* used, std::string* body) {
  const auto refuse = [this](int status, std::string reason) {
    refusal_ = Refusal{status, std::move(reason)};
    return Step::Refused;
  };
  size_t at = 0;
  for (;;) {
    *used = at;
    if (part_ == Part::Data) {
      const size_t taken = std::min(left_, bytes.size() - at);
      body->append(bytes.substr(at, taken));
      at += taken;
      left_ -= taken;
      *used = at;
      if (left_ > 0) return Step::More;
      part_ = Part::DataEnd;
      continue;
    }
    const size_t end = bytes.find('\n', at);
    if (end == std::string_view::npos) {
      return bytes.size() - at > kLongestLine ? refuse(400, "a chunk's size line runs on") : Step::More;
    }
    std::string_view line = bytes.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    at = end + 1;
    switch (part_) {
      case Part::Size: {
        // The size in hexadecimal, then perhaps extensions after ';', which mean nothing here.
        const std::string_view digits = line.substr(0, line.find(';'));
        const auto [stop, fault] = std::from_chars(digits.data(), digits.data() + digits.size(), left_, 16);
        if (digits.empty() || (fault != std::errc() && fault != std::errc::result_out_of_range) ||
            stop != digits.data() + digits.size()) {
          return refuse(400, "a chunk's size is not a hexadecimal number");
        }
        if (fault == std::errc::result_out_of_range || left_ > most_ - body->size()) {
          return refuse(413, "a body is at most " + std::to_string(most_) + " bytes");
        }
        part_ = left_ == 0 ? Part::Trailer : Part::Data;
        break;
      }
      case Part::DataEnd:
        if (!line.empty()) return refuse(400, "a chunk's data runs past its size");
        part_ = Part::Size;
        break;
      case Part::Trailer:
        if (line.empty()) {
          *used = at;
          return Step::Done;
        }
        break;
      case Part::Data: break;
    }
  }
}
