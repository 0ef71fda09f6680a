// zimbrel-send as the game starts it, the game already over (its standard input at its end):
// only a rank, a hold for review or the leaderboard's own refusal of the proof takes the
// proof out of replays/unsent/; whatever else answers, or nothing, leaves it for the next
// start, and the sender says the address and why.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/child_process.h"
#include "tests/support/file_bytes.h"
#include "tests/support/leaderboard_run.h"
#include "tests/support/stub_http_server.h"

namespace {

namespace fs = std::filesystem;

std::string Answer(const std::string& status, const std::string& type, const std::string& body) {
  return "HTTP/1.1 " + status + "\r\nContent-Type: " + type + "\r\nContent-Length: " +
         std::to_string(body.size()) + "\r\n\r\n" + body;
}

TEST(ProofSender, OnlyARankAHoldOrARefusalOfTheProofItselfTakesItOutOfUnsent) {
  const std::string json = "application/json";
  const struct {
    std::string answer;  // "" and `url` given: no server there
    std::string url;
    bool kept;
    std::string said;
  } cases[] = {
      {Answer("201 Created", json, R"({"game":{"name":"GLD","score":197530,"rank":1},"total":1})"), "", false,
       " ranks GLD (197,530) 1 of 1\n"},
      {Answer("202 Accepted", json, R"({"held":true,"reason":"game 4 is held for review: 12 of its 12 presses"})"),
       "", false, " holds it for review: game 4 is held for review: 12 of its 12 presses\n"},
      {Answer("422 Unprocessable Content", json, R"({"error":"it proves no game"})"), "", false,
       " refused a.replay: it proves no game\n"},
      {Answer("400 Bad Request", json, R"({"error":"proof:3: 'x' is not mouse, keys, clock or end"})"), "", false,
       " refused a.replay: proof:3: "},
      {Answer("400 Bad Request", json, R"({"error":"limit is 1 to 100"})"), "", true,
       " did not take a.replay (it answered 400: limit is 1 to 100); it waits in "},
      {Answer("405 Method Not Allowed", json, R"({"error":"POST only"})"), "", true,
       " did not take a.replay (it answered 405: POST only)"},
      {Answer("200 OK", "text/html", "<html>sign in to the hotel's wifi</html>"), "", true,
       " did not take a.replay (it answered 200 with 'text/html', not as the leaderboard answers)"},
      {"", "http://127.0.0.1:1/", true, " did not take a.replay (connection refused)"},
      {"", "http://zimbrel.invalid/", true, " did not take a.replay (the name 'zimbrel.invalid' is not resolved: "}};
  for (const auto& leaderboard : cases) {
    StubHttpServer stub(leaderboard.answer);
    const std::string url = leaderboard.url.empty() ? stub.Url() : leaderboard.url;
    LeaderboardRun scratch;  // never started: a folder of its own, removed after
    fs::create_directories(scratch.Folder() / "replays/unsent");
    WriteText(scratch.Folder() / "replays/unsent/a.replay", GoldenProof());
    const FinishedRun run = RunToItsEnd({{fs::path(ZIMBREL_RUN_DIR) / "zimbrel-send", url}, EnvironmentWith({}),
                                         scratch.Folder(), scratch.Folder() / "out", scratch.Folder() / "errors"},
                                        std::chrono::seconds(10));
    EXPECT_EQ(run.exitCode, 0) << url;
    EXPECT_EQ(fs::exists(scratch.Folder() / "replays/unsent/a.replay"), leaderboard.kept) << leaderboard.said;
    EXPECT_NE(run.errors.find("Zimbrel: the leaderboard at " + url + leaderboard.said), std::string::npos)
        << run.errors;
  }
}

}  // namespace
