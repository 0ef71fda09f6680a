// A game kept while the leaderboard could not be reached waits in replays/unsent/, and the
// game sends it at its next start, to the leaderboard its player's config file names; what
// the leaderboard did not take for good waits for the start after, and the sender never
// outlives the game by more than 5 s.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "tests/support/file_bytes.h"
#include "tests/support/leaderboard_run.h"
#include "tests/support/real_game.h"
#include "tests/support/screen_places.h"
#include "tests/support/stub_http_server.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr char kUnsentProof[] = "games/replays/unsent/2026-12-10_09-00-00_GLD_197530.replay";

// The player's folder under `home` as the game left it offline, and the config file naming
// the leaderboard at `url`.
void MakePlayersFolder(const fs::path& home, const std::string& url) {
  for (const char* folder : {"gfx", "snd"}) {
    fs::create_directories(home / "games" / folder);
    for (const auto& file : fs::directory_iterator(fs::path(ZIMBREL_RUN_DIR) / folder)) {
      fs::create_symlink(file.path(), home / "games" / folder / file.path().filename());
    }
  }
  fs::create_directories((home / kUnsentProof).parent_path());
  WriteText(home / kUnsentProof, GoldenProof());
  fs::create_directories(home / "config/zimbrel");
  WriteText(home / "config/zimbrel/leaderboard", url + "\n");
}

// The running zimbrel-send working in `folder` (it is no child of the game's); 0 for none.
pid_t SenderIn(const fs::path& folder) {
  const fs::path sender = fs::canonical(fs::path(ZIMBREL_RUN_DIR) / "zimbrel-send");
  for (const auto& process : fs::directory_iterator("/proc")) {
    std::error_code fault;
    if (fs::read_symlink(process.path() / "exe", fault) != sender ||
        fs::read_symlink(process.path() / "cwd", fault) != fs::canonical(folder)) {
      continue;
    }
    std::string name, state;
    std::ifstream(process.path() / "stat") >> name >> name >> state;
    if (state != "Z") return static_cast<pid_t>(std::stoi(process.path().filename().string()));
  }
  return 0;
}

TEST(RealWindowLeaderboard, AGameKeptOfflineIsSentAtTheNextStart) {
  LeaderboardRun leaderboard;
  ASSERT_NO_FATAL_FAILURE(leaderboard.Start());
  const fs::path home = leaderboard.Folder() / "player";
  MakePlayersFolder(home, leaderboard.Url());

  XvfbDisplay display(kGameWidth, kGameHeight);
  ASSERT_TRUE(display.Ready()) << display.Error();
  RealGame game(display, {{"XDG_CONFIG_HOME", (home / "config").string()}});
  ASSERT_TRUE(game.StartCommand({fs::path(ZIMBREL_RUN_DIR) / "zimbrel"}, home / "games"));
  const std::optional<nlohmann::json> top = leaderboard.WaitForGames(1);
  ASSERT_TRUE(top) << leaderboard.Log() << game.Output();
  EXPECT_EQ((*top)["games"][0]["name"], "GLD");
  EXPECT_EQ((*top)["games"][0]["score"], kGoldenScore);
  // The sender says so once it has the answer: a moment after the leaderboard has it.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!fs::is_empty(home / "games/replays/unsent") && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  game.SendWindowClose();
  EXPECT_EQ(game.WaitForExit(), 0) << game.Output();
  EXPECT_TRUE(fs::is_empty(home / "games/replays/unsent"));
  EXPECT_NE(game.Output().find("Zimbrel: the leaderboard at " + leaderboard.Url() + " ranks GLD (197,530) 1 of 1\n"),
            std::string::npos)
      << game.Output();
}

// Only the leaderboard's own refusal of a proof ends its sending: a wrong address's 404, a
// server's 503 and a server that never answers all keep it for the next start. The game ends
// as always, and its sender goes within 5 s of it, saying where the proof waits and why.
TEST(RealWindowLeaderboard, AProofNotTakenWaitsAndTheSenderLeavesWithTheGame) {
  const struct {
    std::string answer;
    std::string said;  // in the sender's words
  } cases[] = {
      {"HTTP/1.1 404 Not Found\r\nContent-Type: text/html\r\nContent-Length: 0\r\n\r\n",
       "(it answered 404 with 'text/html', not as the leaderboard answers); it waits in "},
      {"HTTP/1.1 503 Service Unavailable\r\nContent-Type: application/json\r\nContent-Length: 23\r\n\r\n"
       "{\"error\": \"restarting\"}",
       "(it answered 503: restarting); it waits in "},
      {"", "the game has ended; what the leaderboard at "}};
  XvfbDisplay display(kGameWidth, kGameHeight);
  ASSERT_TRUE(display.Ready()) << display.Error();
  for (const auto& server : cases) {
    StubHttpServer stub(server.answer);
    LeaderboardRun scratch;  // never started: a folder of its own, removed after
    const fs::path home = scratch.Folder() / "player";
    MakePlayersFolder(home, stub.Url());
    RealGame game(display, {{"XDG_CONFIG_HOME", (home / "config").string()}});
    ASSERT_TRUE(game.StartCommand({fs::path(ZIMBREL_RUN_DIR) / "zimbrel"}, home / "games"));
    const auto asked = Clock::now() + std::chrono::seconds(20);
    while (stub.Requests() == 0 && Clock::now() < asked) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_EQ(stub.Requests(), 1) << server.said;
    const pid_t sender = SenderIn(home / "games");
    ASSERT_NE(sender, 0) << server.said;

    game.SendWindowClose();
    EXPECT_EQ(game.WaitForExit(), 0) << game.Output();
    const Clock::time_point ended = Clock::now();
    while (SenderIn(home / "games") == sender && Clock::now() < ended + std::chrono::seconds(10)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    // 5 s, and a moment for a busy machine to run the sender's last line.
    EXPECT_LT(Clock::now() - ended, std::chrono::milliseconds(5500)) << server.said;
    EXPECT_TRUE(fs::exists(home / kUnsentProof)) << server.said;
    EXPECT_NE(game.Output().find(stub.Url()), std::string::npos) << game.Output();
    EXPECT_NE(game.Output().find(server.said), std::string::npos) << game.Output();
  }
}

}  // namespace
