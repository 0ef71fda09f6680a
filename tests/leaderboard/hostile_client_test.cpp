// What a hostile client or a slow socket does to the real server: it answers everyone else
// meanwhile, refuses each flood before its memory is taken, and says why.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

#include "tests/support/file_bytes.h"
#include "tests/support/leaderboard_run.h"

namespace {

using Clock = std::chrono::steady_clock;

long ResidentKiB(pid_t pid) {
  const std::string status = FileText("/proc/" + std::to_string(pid) + "/status");
  return std::stol(status.substr(status.find("VmRSS:") + 6));
}

std::string Request(const std::string& head, const std::string& body = "") {
  return head + "Host: leaderboard\r\nConnection: close\r\n\r\n" + body;
}

TEST(LeaderboardHttp, SlowSocketsHoldNoAnsweringThreadAndAreCutAtTheirDeadline) {
  LeaderboardRun server;
  ASSERT_NO_FATAL_FAILURE(server.Start());
  std::vector<int> slow;
  for (int i = 0; i < 300; ++i) {
    slow.push_back(server.ConnectFrom("127.0." + std::to_string(1 + i / 250) + "." + std::to_string(1 + i % 250)));
  }
  std::vector<int> crowd;
  for (int i = 0; i < 64; ++i) crowd.push_back(server.ConnectFrom("127.0.3.1"));
  const HttpAnswer crowded = server.Exchange(Request("GET / HTTP/1.1\r\n"), "127.0.3.1");
  EXPECT_EQ(crowded.status, 429);
  EXPECT_NE(crowded.body.find("too many connections from 127.0.3.1 (at most 64 at once)"), std::string::npos)
      << crowded.body;
  // A byte of a head a second from each, past the head's deadline; the table answers throughout.
  const std::string head = "GET / HTTP/1.1\r\nHost: leaderboard\r\n";
  for (size_t second = 0; second < 12; ++second) {
    for (const int socket : slow) send(socket, &head[second], 1, MSG_NOSIGNAL);
    const Clock::time_point asked = Clock::now();
    EXPECT_EQ(server.Get("/").status, 200) << "at second " << second;
    EXPECT_LT(Clock::now() - asked, std::chrono::seconds(1)) << "at second " << second;
    std::this_thread::sleep_for(std::chrono::seconds(1));
  }
  char answer[512] = "";
  const ssize_t got = recv(slow[0], answer, sizeof answer - 1, MSG_DONTWAIT);
  EXPECT_GT(got, 0);
  EXPECT_NE(std::string(answer).find("the request's head did not come whole within 10 s"), std::string::npos) << answer;
  for (const int socket : slow) close(socket);
  for (const int socket : crowd) close(socket);
}

TEST(LeaderboardHttp, RefusesEachFloodBeforeItsMemoryIsTaken) {
  LeaderboardRun server;
  ASSERT_NO_FATAL_FAILURE(server.Start());
  const std::string bomb =
      RunCommand({"sh", "-c", "head -c 300000000 /dev/zero | gzip -c"}, EnvironmentWith({}), std::chrono::seconds(60)).output;
  std::string chunks;
  for (int mebibyte = 0; mebibyte < 20; ++mebibyte) chunks += "100000\r\n" + std::string(1 << 20, '#') + "\r\n";
  std::string fields;
  for (int field = 0; field < 4000; ++field) fields += "X-Filler-" + std::to_string(field) + ": " + std::string(8000, 'a') + "\r\n";
  const std::string post = "POST /api/v1/games HTTP/1.1\r\n";
  const std::string form(9000, '#');
  struct Flood {
    const char* what;
    std::string request;
    int status;
    std::string reason;
  };
  const std::vector<Flood> floods = {
      {"gzip inflating to 300 MB", Request(post + "Content-Encoding: gzip\r\nContent-Length: " + std::to_string(bomb.size()) + "\r\n", bomb),
       415, "Content-Encoding gzip is not taken"},
      {"20 MiB chunked", Request(post + "Transfer-Encoding: chunked\r\n", chunks + "0\r\n\r\n"), 413,
       "a body is at most 8388608 bytes"},
      {"4,000 fields of 8 KB", Request(post + fields), 431, "a request's head is at most 32768 bytes in 100 fields"},
      {"a proof labelled as a form, as curl sends it",
       Request(post + "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 9000\r\n", form), 400, "not a replay"},
  };
  const long before = ResidentKiB(server.Process().Pid());
  for (const Flood& flood : floods) {
    const HttpAnswer answer = server.Exchange(flood.request);
    EXPECT_EQ(answer.status, flood.status) << flood.what << ": " << answer.body;
    EXPECT_NE(answer.body.find(flood.reason), std::string::npos) << flood.what << ": " << answer.body;
  }
#if !defined(__SANITIZE_ADDRESS__)  // AddressSanitizer keeps freed memory in quarantine
  EXPECT_LT(ResidentKiB(server.Process().Pid()) - before, 16 << 10) << "KiB taken by the floods";
#else
  (void)before;
#endif
}

// A body in pieces of `piece` bytes, each chunk with an extension, and a trailer.
std::string Chunked(const std::string& body, size_t piece) {
  std::string chunks;
  for (size_t at = 0; at < body.size(); at += piece) {
    char size[24];
    std::snprintf(size, sizeof size, "%zx;piece\r\n", std::min(piece, body.size() - at));
    chunks += size + body.substr(at, piece) + "\r\n";
  }
  return chunks + "0\r\nX-Trailer: none\r\n\r\n";
}

TEST(LeaderboardHttp, TakesABodyInEitherFramingAndEachLimitAtItsExactValue) {
  LeaderboardRun server;
  ASSERT_NO_FATAL_FAILURE(server.Start({"--rate", "1000"}));
  const std::string proof = GoldenProof();
  const std::string post = "POST /api/v1/games HTTP/1.1\r\n";
  const std::string chunked = "Transfer-Encoding: chunked\r\n";
  std::string fields;
  for (int field = 0; field < 98; ++field) fields += "X-Field-" + std::to_string(field) + ": yes\r\n";
  // The proof chunked is verified; the same bytes by their length are then a proof kept already.
  const std::vector<std::tuple<const char*, std::string, int>> requests = {
      {"the proof chunked", Request(post + chunked, Chunked(proof, 1000)), 201},
      {"the proof by its length", Request(post + "Content-Length: " + std::to_string(proof.size()) + "\r\n", proof), 200},
      {"8 MiB chunked", Request(post + chunked, Chunked(std::string(8 << 20, '#'), 1 << 20)), 400},
      {"8 MiB and a byte chunked", Request(post + chunked, Chunked(std::string((8 << 20) + 1, '#'), 1 << 20)), 413},
      {"100 fields", Request("GET /healthz HTTP/1.1\r\n" + fields), 200},
      {"101 fields", Request("GET /healthz HTTP/1.1\r\nX-Field: one too many\r\n" + fields), 431},
      {"a length and a chunking", Request(post + chunked + "Content-Length: 5\r\n", "hello"), 400},
  };
  for (const auto& [what, request, status] : requests) {
    const HttpAnswer answer = server.Exchange(request);
    EXPECT_EQ(answer.status, status) << what << ": " << answer.body;
  }
  // Two requests in one write, answered in turn on the one connection.
  const HttpAnswer both = server.Exchange("GET /healthz HTTP/1.1\r\nHost: leaderboard\r\n\r\n" + Request("GET /api/v1/top HTTP/1.1\r\n"));
  EXPECT_EQ(both.status, 200);
  EXPECT_NE(both.body.find("\"total\":1"), std::string::npos) << both.body;
}

TEST(LeaderboardHttp, ASecondServerOnATakenAddressExitsWithTheReason) {
  LeaderboardRun first;
  ASSERT_NO_FATAL_FAILURE(first.Start());
  const std::string where = "127.0.0.1:" + std::to_string(first.Port());
  ChildProcess::Options twin;
  twin.command = {ZIMBREL_LEADERBOARD, "--listen", where, "--database", "sqlite:" + (first.Folder() / "twin.sqlite").string()};
  twin.environment = EnvironmentWith({});
  twin.outputFile = first.Folder() / "twin.out";
  twin.errorFile = first.Folder() / "twin.err";
  const FinishedRun run = RunToItsEnd(twin, std::chrono::seconds(20));
  EXPECT_EQ(run.exitCode, 1) << run.errors;
  EXPECT_NE(run.errors.find("cannot listen on " + where + " (Address already in use)"), std::string::npos) << run.errors;
}

TEST(LeaderboardHttp, TakesTheClientFromWhatATrustedProxyForwards) {
  LeaderboardRun server;
  ASSERT_NO_FATAL_FAILURE(server.Start({"--rate", "1", "--trusted-proxy", "127.0.0.1"}));
  // One submission a minute from each client: the second is refused with its address.
  const std::vector<std::tuple<std::string, std::string, int, std::string>> sent = {
      {"127.0.0.1", "203.0.113.7", 400, "not a replay"},
      {"127.0.0.1", "198.51.100.1, 203.0.113.7", 429, "too many submissions from 203.0.113.7"},
      {"127.0.0.1", "203.0.113.8", 400, "not a replay"},
      {"127.0.0.2", "203.0.113.9", 400, "not a replay"},
      {"127.0.0.2", "203.0.113.10", 429, "too many submissions from 127.0.0.2"},
      {"127.0.0.1", "203.0.113.8, nobody", 400, "X-Forwarded-For holds \\\"nobody\\\", which is not an address"},
  };
  for (const auto& [from, forwarded, status, shows] : sent) {
    const HttpAnswer answer = server.Exchange(
        Request("POST /api/v1/games HTTP/1.1\r\nX-Forwarded-For: " + forwarded + "\r\nContent-Length: 5\r\n", "hello"), from);
    EXPECT_EQ(answer.status, status) << from << " for " << forwarded << ": " << answer.body;
    EXPECT_NE(answer.body.find(shows), std::string::npos) << from << " for " << forwarded << ": " << answer.body;
  }
  EXPECT_NE(server.Log().find("203.0.113.7 POST /api/v1/games 429"), std::string::npos) << server.Log();
}

}  // namespace
