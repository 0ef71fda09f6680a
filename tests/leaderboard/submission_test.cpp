// Submissions to the real server, each answered with its status and its reason, and only a
// proven game ever ranked: the kept game, then what a cheat or an attacker would send instead.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <tuple>
#include <regex>
#include <sstream>

#include "replay/replay_file.h"
#include "tests/support/file_bytes.h"
#include "tests/support/highscore_bytes.h"
#include "tests/support/leaderboard_run.h"

namespace {

using nlohmann::json;
namespace fs = std::filesystem;

// The golden proof changed line by line: `change` gives each line's new text ("" drops it).
std::string Doctored(const std::function<std::string(const std::string&)>& change,
                     const std::string& proof = GoldenProof()) {
  return EachLineChanged(proof, change);
}

std::string Replaced(const std::string& pattern, const std::string& with) {
  return Doctored([&](const std::string& line) { return std::regex_replace(line, std::regex(pattern), with); });
}

// The title left alone, `reads` mouse lines ten minutes of flips apart: cheap to send.
std::string IdleReads(int reads) {
  std::string idle = "zimbrel-replay 1\n";
  for (int line = 0; line < reads; ++line) idle += std::to_string(line * 36000) + " 0 mouse 0 0 0 0\n";
  return idle;
}

struct Hostile {
  const char* what;
  std::string proof;
  int status;
  std::string reason;  // part of the answer's error
};

std::vector<Hostile> HostileSubmissions() {
  int pressesSeen = 0;
  const std::regex press("^[0-9]+ [0-9]+ mouse -?[0-9]+ -?[0-9]+ 1 [01]$");
  // The rules clock given at every flip from flip 100 on, from a tick count of a running
  // machine's, advancing so many tenths of a millisecond a flip; the program line a browser's.
  const auto clocked = [](int tenths) {
    return [tenths, clockFlip = 100](const std::string& line) mutable {
      std::string lines;
      for (; std::isdigit(static_cast<unsigned char>(line[0])) && std::stoi(line) >= clockFlip; ++clockFlip) {
        lines += std::to_string(clockFlip) + " 0 clock " + std::to_string(5000000 + clockFlip * tenths / 10) + "\n";
      }
      return lines + std::regex_replace(line, std::regex("1.0.0 desktop$"), "1.0.0 browser");
    };
  };
  const auto flipOf = [](const std::string& line) {
    return std::isdigit(static_cast<unsigned char>(line[0])) ? std::stoi(line) : -1;
  };
  std::string garbage(4096, '\0');
  for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>((i * 7919 + 13) % 256);
  return {
      {"a raised score", Replaced("score 197530", "score 297530"), 422,
       "the replay gives 197,530, the file claims 297,530"},
      {"a swat's line taken out",
       Doctored([&](const std::string& line) {
         return std::regex_match(line, press) && ++pressesSeen == 40 ? std::string() : line;
       }),
       422, "proof:"},
      {"a clock slowed by a tenth", Doctored(clocked(150)), 422, "the rules clock advances"},
      {"a browser's label and its old pace of 13.7 ms a flip", Doctored(clocked(137)), 422,
       "the rules clock advances"},
      {"another name claimed", Replaced("^# proves: GLD", "# proves: ZZZ"), 422,
       "the replay gives the name GLD, the file claims ZZZ"},
      {"a name outside the game's letters and digits", Replaced("^# proves: GLD", "# proves: g-D"), 400,
       "the name three capital letters or digits"},
      {"SQL in a claim", Replaced("^# proves: GLD", "# proves: G'); DROP TABLE games; --"), 400, "a claim reads"},
      {"9 MiB", GoldenProof() + std::string(9 << 20, '#'), 413, "is at most 8388608 bytes"},
      {"binary garbage", garbage, 400, "proof:"},
      {"400 reads, each ten minutes of flips after the last", IdleReads(400), 422,
       "proof:15: flip 468,000 lies past the 432,000 flips"},
      {"a game that never ends (claiming none)",
       Doctored([&](const std::string& line) { return flipOf(line) >= 600 || line[0] == '#' ? "" : line; }),
       422, "does not bring the game to its end"},
  };
}

TEST(LeaderboardSubmission, RanksTheProvenGameOnceAndRefusesEveryCheat) {
  LeaderboardRun server;
  ASSERT_NO_FATAL_FAILURE(server.Start({"--rate", "1000"}));
  for (const Hostile& hostile : HostileSubmissions()) {
    const HttpAnswer answer = server.Post(hostile.proof);
    EXPECT_EQ(answer.status, hostile.status) << hostile.what << ": " << answer.body;
    EXPECT_NE(answer.body.find(hostile.reason), std::string::npos) << hostile.what << ": " << answer.body;
  }
  EXPECT_EQ(json::parse(server.Get("/api/v1/top").body)["total"], 0) << "a refused proof was ranked";

  const HttpAnswer kept = server.Post(GoldenProof());
  ASSERT_EQ(kept.status, 201) << kept.body;
  const json game = json::parse(kept.body)["game"];
  EXPECT_EQ(game["name"], "GLD");
  EXPECT_EQ(game["score"], kGoldenScore);
  EXPECT_EQ(game["stage"], 10);
  EXPECT_EQ(game["rank"], 1);
  // The same text again, and another text of the same game: ranked once.
  EXPECT_EQ(server.Post(GoldenProof()).status, 200);
  EXPECT_EQ(server.Post(GoldenProof("GLD", "sent again")).status, 200);
  const json top = json::parse(server.Get("/api/v1/top").body);
  EXPECT_EQ(top["total"], 1);
  EXPECT_EQ(top["games"][0], game);
  EXPECT_EQ(server.Get(game["replay"]).body, GoldenProof()) << "the proof as it came";
  // What the table and the API answer, the world's table as a page among them.
  const std::vector<std::tuple<std::string, int, std::string>> reads = {
      {"/", 200, "<td>1</td><td class=\"name\"><a href=\"/players/GLD\">GLD</a></td><td>197,530</td>"},
      {"/?page=-1", 400, "page"},
      {"/api/v1/top?limit=0", 400, "limit is 1 to 100"},
      {"/api/v1/top?limit=1&offset=1", 200, "\"games\":[]"},
      {"/api/v1/games/2", 404, "no game 2"},
      {"/api/v1/games/x'", 404, "no game x'"},
      {"/api/v1/games/01", 404, "no game 01"},
      {"/api/v1/games/+1", 404, "no game +1"},
      {"/games/1", 200, "<h1 id=\"game-name\">GLD</h1>\n<p id=\"game-facts\">Rank 1 in"},
      {"/games/1", 200, "<a href=\"/api/v1/games/1/replay\">The game's replay</a>"},
      {"/games/01", 404, "No game 01"},
      {"/healthz", 200, "\"status\":\"ok\""},
      {"/nothing", 404, "no such page"},
  };
  for (const auto& [path, status, shows] : reads) {
    const HttpAnswer answer = server.Get(path);
    EXPECT_EQ(answer.status, status) << path;
    EXPECT_NE(answer.body.find(shows), std::string::npos) << path << ": " << answer.body;
  }
  const std::string log = server.Log();
  EXPECT_NE(log.find("POST /api/v1/games 201 "), std::string::npos) << log;
  EXPECT_NE(log.find("verified: GLD 197530 (game 1)"), std::string::npos) << log;
  EXPECT_NE(log.find("POST /api/v1/games 422 "), std::string::npos) << log;
}

TEST(LeaderboardSite, ServesTheBrowsersGameUnderPlayAsAStaticServerDoes) {
  LeaderboardRun server;
  // A site as the web build lays it out: files named by content, each with its gzip beside it.
  const fs::path site = server.Folder() / "site";
  fs::create_directories(site);
  std::string program;
  for (int i = 0; i < 5000; ++i) program += static_cast<char>(i * 7919 % 251);
  WriteText(site / "index.html", "<p>the game</p>\n");
  WriteText(site / "watch.html", "<head><!--base--><title>Zimbrel</title></head><!--game--><script data-proof=\"\">");
  WriteText(site / "zimbrel.0123456789ab.wasm", program);
  WriteText(site / "icon-192.0123456789ab.png", "\x89PNG");
  ASSERT_EQ(std::system(("gzip -k " + (site / "*").string()).c_str()), 0);
  WriteText(site / "manifest.webmanifest", "{}");
  WriteText(site / "notes.txt", "<script>");
  fs::create_directory(site / "levels");
  WriteText(site / "levels" / "index.html", "<p>a folder</p>");
  ASSERT_NO_FATAL_FAILURE(server.Start({"--site", site.string()}));
  // Compressed once, whoever compresses it; only what is named by content kept for good.
  const std::vector<std::tuple<std::string, std::string, std::string>> files = {
      {"/play/", "<p>the game</p>\n", "no-cache"},
      {"/play/zimbrel.0123456789ab.wasm", program, "public, max-age=31536000, immutable"},
  };
  for (const auto& [path, body, caching] : files) {
    HttpAnswer answer = server.Get(path);
    EXPECT_EQ(answer.status, 200) << path;
    EXPECT_EQ(answer.body, body) << path;
    EXPECT_EQ(answer.headers["content-encoding"], "gzip") << path;
    EXPECT_EQ(answer.headers["cache-control"], caching) << path;
    EXPECT_EQ(answer.headers["zimbrel-leaderboard"], "../") << path << ": the page would send nothing";
  }
  HttpAnswer bare = server.Get("/play");
  EXPECT_EQ(bare.status, 302);
  EXPECT_EQ(bare.headers["location"], "/play/") << "the page's relative links need the slash";
  EXPECT_NE(server.Get("/").body.find("<a href=\"/play/\">Play in your browser</a>"), std::string::npos);
  // A ranked game's page: the player's files from /play/, its proof from the API.
  ASSERT_EQ(server.Post(GoldenProof()).status, 201);
  const std::string page = server.Get("/games/1").body;
  EXPECT_NE(page.find("<head><base href=\"../play/\"><title>Zimbrel: GLD's game</title></head><h1"), std::string::npos) << page;
  EXPECT_NE(page.find("score 197,530 &middot; stage 10 &middot; "), std::string::npos) << page;
  EXPECT_NE(page.find("<script data-proof=\"../api/v1/games/1/replay\">"), std::string::npos) << page;
  // Each answer typed, nosniff, and every method but a path's own refused with what it takes.
  const std::vector<std::tuple<std::string, int, std::string, std::string>> answers = {
      {"GET /play/manifest.webmanifest", 200, "content-type", "application/manifest+json"},
      {"GET /favicon.ico", 200, "content-type", "image/png"},
      {"GET /play/notes.txt%00.html", 400, "content-type", "application/json"},
      {"GET /play/levels", 301, "location", "/play/levels/"},
      {"PUT /play/index.html", 405, "allow", "GET, HEAD"},
      {"DELETE /api/v1/games/1", 405, "allow", "GET, HEAD"},
      {"GET /api/v1/games", 405, "allow", "POST"},
      {"OPTIONS /api/v1/games", 204, "allow", "POST"},
      {"PATCH /nothing", 404, "content-type", "application/json"},
  };
  for (const auto& [request, status, field, value] : answers) {
    HttpAnswer answer = server.Exchange(request + " HTTP/1.1\r\nHost: leaderboard\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(answer.status, status) << request << ": " << answer.body;
    EXPECT_EQ(answer.headers[field], value) << request;
    EXPECT_EQ(answer.headers["x-content-type-options"], "nosniff") << request;
  }
}

// Copies of one play: each changes the text, none the play. The first proof keeps its row.
class LeaderboardIdentity : public testing::TestWithParam<std::string> {};

TEST_P(LeaderboardIdentity, CopiesOfOnePlayAreOneGameAndAnotherPlayIsAnother) {
  LeaderboardRun server;
  const std::string database = TestDatabase(GetParam(), server.Folder());
  if (database.empty()) GTEST_SKIP() << "no PostgreSQL here (ctest runs this under pg_virtualenv)";
  ASSERT_NO_FATAL_FAILURE(server.Start({"--rate", "1000", "--database", database}));
  const HttpAnswer first = server.Post(GoldenProof());
  ASSERT_EQ(first.status, 201) << first.body;
  const json kept = json::parse(first.body)["game"];
  const Bytes table = DefaultFileBytes();
  ReplayTable bytes{};
  std::copy(table.begin(), table.end(), bytes.begin());
  const std::vector<std::pair<const char*, std::string>> copies = {
      {"a mouse line that moves nothing",
       Doctored([](const std::string& line) { return line.rfind("650 0 ", 0) == 0 ? "649 0 mouse 0 0 0 0\n" + line : line; })},
      {"the default table written out",
       Doctored([&](const std::string& line) { return line.rfind("0 0 ", 0) == 0 ? ReplayTableText(bytes) + line : line; })},
      {"another name typed", GoldenProof("ZZZ")},
      {"CRLF line endings", std::regex_replace(GoldenProof(), std::regex("\n"), "\r\n")},
      {"a byte order mark", "\xEF\xBB\xBF" + GoldenProof()},
      {"three more flips on the title before Play",
       Doctored([](const std::string& line) {
         if (std::isdigit(static_cast<unsigned char>(line[0]))) return std::to_string(std::stoi(line) + 3) + line.substr(line.find(' '));
         return std::regex_replace(line, std::regex("flip 1224$"), "flip 1227");
       })},
  };
  for (const auto& [what, proof] : copies) {
    const HttpAnswer answer = server.Post(proof);
    EXPECT_EQ(answer.status, 200) << what << ": " << answer.body;
    if (answer.status != 200) continue;
    const json game = json::parse(answer.body)["game"];
    EXPECT_EQ(game["id"], kept["id"]) << what;
    EXPECT_EQ(game["name"], "GLD") << what;
    EXPECT_EQ(game["rank"], 1) << what;
  }
  EXPECT_EQ(json::parse(server.Get("/api/v1/top").body)["total"], 1);
  EXPECT_EQ(server.Get(kept["replay"]).body, GoldenProof()) << "the first proof stays the one kept";
  // The same score by another play (a key held that the rules ignore) is a game of its own.
  EXPECT_EQ(server.Post(GoldenProof("GLD", "", 1)).status, 201);
}

INSTANTIATE_TEST_SUITE_P(Databases, LeaderboardIdentity, testing::Values("sqlite", "postgresql"),
                         [](const testing::TestParamInfo<std::string>& database) { return database.param; });

}  // namespace
