// How the front reads a request's bytes before any answering thread sees them: each head judged
// by its bytes, a chunked body however its bytes arrive, and whose request it is.
#include <gtest/gtest.h>

#include "leaderboard/chunked_body.h"
#include "leaderboard/client_address.h"
#include "leaderboard/request_head.h"

namespace {

constexpr size_t kMost = 100;

TEST(RequestFraming, JudgesEachHeadByItsBytes) {
  // The status the front answers (0: it takes the request) and, when taken, its body's length.
  const std::vector<std::tuple<std::string, int, size_t>> heads = {
      {"\r\nGET / HTTP/1.1\nHost: a\n\n", 0, 0},
      {"POST / HTTP/1.1\r\nContent-Length: 100\r\n\r\n", 0, 100},
      {"POST / HTTP/1.1\r\nContent-Length: 101\r\n\r\n", 413, 0},
      {"POST / HTTP/1.1\r\nContent-Length: 99999999999999999999999\r\n\r\n", 413, 0},
      {"POST / HTTP/1.1\r\nContent-Length: 7\r\ncontent-length: 7\r\n\r\n", 0, 7},
      {"POST / HTTP/1.1\r\nContent-Length: 7\r\nContent-Length: 8\r\n\r\n", 400, 0},
      {"POST / HTTP/1.1\r\nContent-Length: +7\r\n\r\n", 400, 0},
      {"POST / HTTP/1.1\r\nTransfer-Encoding: gzip, chunked\r\n\r\n", 501, 0},
      {"POST / HTTP/1.1\r\nContent-Encoding: deflate\r\n\r\n", 415, 0},
      {"POST / HTTP/1.1\r\nContent-Encoding: identity\r\nExpect: 100-continue\r\n\r\n", 0, 0},
      {"POST / HTTP/1.1\r\nExpect: 200-ok\r\n\r\n", 417, 0},
      {"GET / HTTP/2.0\r\n\r\n", 505, 0},
      {"BREW / HTTP/1.1\r\n\r\n", 501, 0},
      {"GET /a b HTTP/1.1\r\n\r\n", 400, 0},
      {"GET / HTTP/1.1\r\nHost : a\r\n\r\n", 400, 0},
      {"GET / HTTP/1.1\r\nHost: a\r\n folded\r\n\r\n", 400, 0},
      {"GET / HTTP/1.1\r\nX: " + std::string(kMostHeadBytes, 'a') + "\r\n\r\n", 431, 0},
  };
  for (const auto& [bytes, status, length] : heads) {
    const HeadReading reading = ReadRequestHead(bytes);
    int answered = reading.refusal ? reading.refusal->status : 0;
    if (reading.head) {
      EXPECT_EQ(reading.used, bytes.size()) << bytes;
      const auto framing = FramingOf(*reading.head, kMost);
      if (const Refusal* refusal = std::get_if<Refusal>(&framing)) answered = refusal->status;
      if (const BodyFraming* body = std::get_if<BodyFraming>(&framing)) {
        EXPECT_EQ(body->length, length) << bytes;
      }
    }
    EXPECT_EQ(answered, status) << bytes;
  }
  // Short of its blank line a head waits for more.
  EXPECT_FALSE(ReadRequestHead("GET / HTTP/1.1\r\nHost: a\r\n").head);
  EXPECT_FALSE(ReadRequestHead("GET / HTTP/1.1\r\nHost: a\r\n").refusal);
}

TEST(RequestFraming, TakesAChunkedBodyHoweverItsBytesArrive) {
  const std::string chunked = "5;name=value\r\nhello\r\n1\r\n \r\n6\r\nworld!\r\n0\r\nTrailer: x\r\n\r\nGET /next";
  const size_t end = chunked.find("GET /next");
  for (const size_t piece : {chunked.size(), size_t{1}, size_t{7}}) {
    ChunkedBody decoder(kMost);
    std::string body;
    std::string pending;
    ChunkedBody::Step step = ChunkedBody::Step::More;
    size_t fed = 0;
    for (; fed < chunked.size() && step == ChunkedBody::Step::More; fed += piece) {
      pending += chunked.substr(fed, piece);
      size_t used = 0;
      step = decoder.Feed(pending, &used, &body);
      pending.erase(0, used);
    }
    EXPECT_EQ(step, ChunkedBody::Step::Done) << "in pieces of " << piece;
    EXPECT_EQ(body, "hello world!") << "in pieces of " << piece;
    EXPECT_EQ(std::min(fed, chunked.size()) - pending.size(), end) << "the next request is left, in pieces of " << piece;
  }
  const std::vector<std::pair<std::string, int>> broken = {
      {"65\r\n", 413}, {"64\r\n" + std::string(100, 'a') + "\r\n1\r\n", 413}, {"x\r\n", 400}, {"2\r\nabc\r\n", 400},
  };
  for (const auto& [bytes, status] : broken) {
    ChunkedBody decoder(kMost);
    std::string body;
    size_t used = 0;
    EXPECT_EQ(decoder.Feed(bytes, &used, &body), ChunkedBody::Step::Refused) << bytes;
    EXPECT_EQ(decoder.Why().status, status) << bytes;
  }
}

TEST(RequestFraming, FindsTheClientBehindTrustedProxiesOnly) {
  const std::set<std::string> trusted = {"10.0.0.1", "10.0.0.2", "::1"};
  const std::vector<std::tuple<std::string, std::optional<std::string>, std::string>> cases = {
      {"192.0.2.1", "203.0.113.5", "192.0.2.1"},
      {"10.0.0.1", std::nullopt, "10.0.0.1"},
      {"10.0.0.1", "203.0.113.5", "203.0.113.5"},
      {"10.0.0.1", "198.51.100.7, 203.0.113.5, 10.0.0.2", "203.0.113.5"},
      {"::1", "2001:DB8::0:1", "2001:db8::1"},
      {"10.0.0.1", "::ffff:203.0.113.5", "203.0.113.5"},
      {"10.0.0.1", "203.0.113.5:4711", ""},
  };
  for (const auto& [peer, forwarded, client] : cases) {
    const auto found = ClientAddress(peer, forwarded, trusted);
    const std::string* address = std::get_if<std::string>(&found);
    EXPECT_EQ(address ? *address : "", client) << peer << " forwarding " << forwarded.value_or("nothing");
  }
  EXPECT_EQ(CanonicalAddress("::ffff:10.0.0.1"), "10.0.0.1");
  EXPECT_EQ(CanonicalAddress("10.0.0.256"), std::nullopt);
}

}  // namespace
