#include "leaderboard/request_head.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace {

constexpr std::string_view kTokenPunctuation = "!#$%&'*+-.^_`|~";

bool IsToken(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || kTokenPunctuation.find(c) != std::string_view::npos;
  });
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// The methods the answering side can parse; others are answered here.
bool KnownMethod(std::string_view method) {
  for (const std::string_view known : {"GET", "HEAD", "POST", "PUT", "DELETE", "CONNECT", "OPTIONS", "TRACE", "PATCH"}) {
    if (method == known) return true;
  }
  return false;
}

std::optional<Refusal> ReadRequestLine(std::string_view line, RequestHead* head) {
  const size_t first = line.find(' ');
  const size_t second = first == std::string_view::npos ? first : line.find(' ', first + 1);
  if (second == std::string_view::npos || line.find(' ', second + 1) != std::string_view::npos) {
    return Refusal{400, "the request line is not METHOD TARGET HTTP/1.1"};
  }
  head->method = line.substr(0, first);
  head->target = line.substr(first + 1, second - first - 1);
  head->version = line.substr(second + 1);
  if (!IsToken(head->method) || head->target.empty()) return Refusal{400, "the request line is not METHOD TARGET HTTP/1.1"};
  if (head->version != "HTTP/1.1" && head->version != "HTTP/1.0") {
    return Refusal{505, "only HTTP/1.0 and HTTP/1.1 are answered"};
  }
  if (!KnownMethod(head->method)) return Refusal{501, "no path here answers the method " + head->method};
  return std::nullopt;
}

Refusal TooLarge() {
  return Refusal{431, "a request's head is at most " + std::to_string(kMostHeadBytes) + " bytes in " +
                          std::to_string(kMostHeaderFields) + " fields"};
}

}  // namespace

std::optional<std::string> RequestHead::Field(std::string_view name) const {
  std::optional<std::string> joined;
  const std::string lower = Lower(name);
  for (const auto& [field, value] : fields) {
    if (Lower(field) != lower) continue;
    joined = joined ? *joined + ", " + value : value;
  }
  return joined;
}

HeadReading ReadRequestHead(std::string_view bytes) {
  HeadReading reading;
  RequestHead head;
  size_t at = 0;
  bool sawRequestLine = false;
  for (;;) {
    const size_t end = bytes.find('\n', at);
    if (end == std::string_view::npos || end + 1 > kMostHeadBytes) {
      if (bytes.size() > kMostHeadBytes) reading.refusal = TooLarge();
      return reading;
    }
    std::string_view line = bytes.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    at = end + 1;
    if (!sawRequestLine) {
      if (line.empty()) continue;  // stray line ends between kept-alive requests
      sawRequestLine = true;
      if (std::optional<Refusal> refusal = ReadRequestLine(line, &head)) {
        reading.refusal = std::move(refusal);
        return reading;
      }
      continue;
    }
    if (line.empty()) break;
    if (head.fields.size() == kMostHeaderFields) {
      reading.refusal = TooLarge();
      return reading;
    }
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos || !IsToken(line.substr(0, colon))) {
      reading.refusal = Refusal{400, "a header line is not NAME: VALUE"};
      return reading;
    }
    head.fields.emplace_back(line.substr(0, colon), Trimmed(line.substr(colon + 1)));
  }
  reading.used = at;
  reading.head = std::move(head);
  return reading;
}

std::variant<BodyFraming, Refusal> FramingOf(const RequestHead& head, size_t mostBodyBytes) {
  BodyFraming framing;
  if (const std::optional<std::string> coding = head.Field("Content-Encoding"); coding && Lower(*coding) != "identity") {
    return Refusal{415, "Content-Encoding " + *coding + " is not taken: send the body as it is"};
  }
  if (const std::optional<std::string> expect = head.Field("Expect")) {
    if (Lower(*expect) != "100-continue") return Refusal{417, "Expect takes only 100-continue"};
    framing.expectsContinue = true;
  }
  const std::optional<std::string> transfer = head.Field("Transfer-Encoding");
  const std::optional<std::string> length = head.Field("Content-Length");
  if (transfer && length) return Refusal{400, "a body has a Content-Length or a Transfer-Encoding, not both"};
  if (transfer) {
    if (Lower(*transfer) != "chunked") return Refusal{501, "Transfer-Encoding " + *transfer + " is not taken (chunked is)"};
    framing.chunked = true;
    return framing;
  }
  if (!length) return framing;
  // Repeated, the field must say one length each time.
  const std::string_view first = std::string_view(*length).substr(0, length->find(','));
  const auto [end, fault] = std::from_chars(first.data(), first.data() + first.size(), framing.length);
  bool same = true;
  for (size_t at = first.size(); same && at < length->size(); at += first.size() + 2) {
    same = length->compare(at, first.size() + 2, ", " + std::string(first)) == 0;
  }
  if (first.empty() || fault == std::errc::invalid_argument || end != first.data() + first.size() || !same) {
    return Refusal{400, "Content-Length " + *length + " is not one whole number"};
  }
  if (fault == std::errc::result_out_of_range || framing.length > mostBodyBytes) {
    return Refusal{413, "a body is at most " + std::to_string(mostBodyBytes) + " bytes; this one is " + *length + " bytes"};
  }
  return framing;
}

std::string ForwardedHead(const RequestHead& head, size_t bodyLength) {
  std::string text = head.method + " " + head.target + " " + head.version + "\r\n";
  bool typed = false;
  for (const auto& [name, value] : head.fields) {
    const std::string lower = Lower(name);
    if (lower == "transfer-encoding" || lower == "content-length" || lower == "expect") continue;
    // No path here takes a form: a body labelled as one (curl's default) is the text it is.
    if (lower == "content-type" && Lower(value).starts_with("application/x-www-form-urlencoded")) continue;
    typed = typed || lower == "content-type";
    text += name + ": " + value + "\r\n";
  }
  if (bodyLength > 0) {
    text += "Content-Length: " + std::to_string(bodyLength) + "\r\n";
    if (!typed) text += "Content-Type: text/plain\r\n";
  }
  return text + "\r\n";
}
