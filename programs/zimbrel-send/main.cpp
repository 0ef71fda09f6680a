// zimbrel-send: sends the games the desktop game keeps to a leaderboard, and says on standard
// error the rank the leaderboard gave, or why it refused. The game starts it only when a
// leaderboard is set, in the game's folder, with its standard input the game's pipe: a byte is a
// proof kept, the pipe's end the game's. It sends what waits in replays/unsent/ at once, then
// each proof as it comes; once the game has ended it has at most 5 seconds more, and what is
// still unanswered waits for the next start.
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>
#include <thread>
#include <vector>

#include "platform/options/quoted_text.h"
#include "programs/zimbrel-send/leaderboard_answer.h"
#include "programs/zimbrel-send/unsent_folder.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// Retried while the game runs, at longer and longer waits.
constexpr int kFirstRetrySeconds = 30;
constexpr int kLongestRetrySeconds = 600;
constexpr int kConnectSeconds = 10;
constexpr int kAnswerSeconds = 120;  // it plays the game again before it answers
// How long the sender may outlive the game; its requests end a second before, so that it says
// why a proof waits.
constexpr auto kAfterTheGame = std::chrono::seconds(5);

// "https://example.org:8443/zimbrel/" as httplib takes it: where, and the path before api/.
struct Leaderboard {
  std::string url;
  std::string origin;
  std::string prefix;
  std::string host;
  int port = 80;
};

Leaderboard LeaderboardOf(const std::string& url) {
  const size_t hostStart = url.find("://") + 3;
  const size_t path = url.find('/', hostStart);
  Leaderboard leaderboard{url, url.substr(0, path), path == std::string::npos ? "/" : url.substr(path), "",
                          url.rfind("https://", 0) == 0 ? 443 : 80};
  if (leaderboard.prefix.back() != '/') leaderboard.prefix += '/';
  std::string authority = url.substr(hostStart, path == std::string::npos ? std::string::npos : path - hostStart);
  const size_t colon = authority.rfind(':');
  if (colon != std::string::npos && authority.find(']', colon) == std::string::npos) {
    leaderboard.port = std::atoi(authority.c_str() + colon + 1);
    authority.resize(colon);
  }
  if (authority.size() > 1 && authority.front() == '[') authority = authority.substr(1, authority.size() - 2);
  leaderboard.host = authority;
  return leaderboard;
}

// What the game says through the pipe: proofs kept, and its end.
class GamePipe {
 public:
  // Reads the pipe on a thread of its own; at the game's end, leaves the sender its last
  // seconds, then ends the process whatever it is doing (a request that hangs included), with
  // `lastWords`.
  void Watch(const std::string& lastWords) {
    std::thread([this, lastWords] {
      char bytes[64];
      ssize_t got;
      while ((got = read(STDIN_FILENO, bytes, sizeof bytes)) != 0) {
        if (got > 0) Wake(false);
      }
      Wake(true);
      std::this_thread::sleep_until(ending_);
      std::fprintf(stderr, "%s\n", lastWords.c_str());
      _exit(0);
    }).detach();
  }

  // Waits for a proof or the game's end, `seconds` at most (0: for ever).
  void WaitForWork(int seconds) {
    std::unique_lock<std::mutex> lock(mutex_);
    const auto woken = [this] { return work_ || ended_; };
    if (seconds > 0) {
      wake_.wait_for(lock, std::chrono::seconds(seconds), woken);
    } else {
      wake_.wait(lock, woken);
    }
    work_ = false;
  }

  bool Ended() const { return ended_; }
  // Seconds a request may take: its own patience, within the game's last seconds once it ended.
  int Patience(int seconds) const {
    if (!ended_) return seconds;
    const auto left = std::chrono::duration_cast<std::chrono::seconds>(ending_ - Clock::now()).count() - 1;
    return static_cast<int>(std::clamp<int64_t>(left, 0, seconds));
  }

 private:
  void Wake(bool ended) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (ended) {
      ending_ = Clock::now() + kAfterTheGame;
      ended_ = true;
    }
    work_ = true;
    wake_.notify_one();
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  bool work_ = true;  // what waits from before is sent at once
  std::atomic<bool> ended_ = false;
  Clock::time_point ending_ = Clock::time_point::max();
};

// Sends every proof that waits, oldest first; false when one must be tried again later.
bool SendWaiting(const Leaderboard& leaderboard, const GamePipe& game, std::set<std::string>* toldOnce) {
  std::vector<fs::path> waiting;
  std::error_code fault;
  for (const fs::directory_entry& entry : fs::directory_iterator(kUnsentFolder, fault)) {
    if (entry.path().extension() == ".replay") waiting.push_back(entry.path());
  }
  std::sort(waiting.begin(), waiting.end());
  bool allAnswered = true;
  for (const fs::path& proof : waiting) {
    const int connect = game.Patience(kConnectSeconds);
    const int answer = game.Patience(kAnswerSeconds);
    if (connect == 0) return false;  // the game's last seconds are up
    httplib::Client client(leaderboard.origin);
    client.set_connection_timeout(connect, 0);
    client.set_read_timeout(answer, 0);
    client.set_write_timeout(answer, 0);
    std::ostringstream text;
    text << std::ifstream(proof, std::ios::binary).rdbuf();
    const Clock::time_point sent = Clock::now();
    const httplib::Result result = client.Post((leaderboard.prefix + "api/v1/games").c_str(), text.str(), "text/plain");
    const double took = std::chrono::duration<double>(Clock::now() - sent).count();
    const AnswerMeaning meaning = MeaningOf(result, leaderboard.host, leaderboard.port, answer, took);
    const std::string name = proof.filename().string();
    if (meaning.fate == AnswerMeaning::Fate::Ranked || meaning.fate == AnswerMeaning::Fate::Held) {
      std::fprintf(stderr, "Zimbrel: the leaderboard at %s %s\n", leaderboard.url.c_str(), meaning.said.c_str());
    } else if (meaning.fate == AnswerMeaning::Fate::Refused) {
      std::fprintf(stderr, "Zimbrel: the leaderboard at %s refused %s: %s\n", leaderboard.url.c_str(), name.c_str(),
                   meaning.said.c_str());
    }
    if (meaning.fate != AnswerMeaning::Fate::Waits) {
      fs::remove(proof, fault);
      continue;
    }
    allAnswered = false;
    if (toldOnce->insert(name).second) {
      std::fprintf(stderr, "Zimbrel: the leaderboard at %s did not take %s (%s); it waits in %s/ for the next try\n",
                   leaderboard.url.c_str(), name.c_str(), meaning.said.c_str(),
                   ShownText(fs::absolute(kUnsentFolder).string()).c_str());
    }
  }
  return allAnswered;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || (std::string(argv[1]).rfind("http://", 0) != 0 && std::string(argv[1]).rfind("https://", 0) != 0)) {
    std::fputs("Usage: zimbrel-send http[s]://LEADERBOARD/ < the game's pipe\n"
               "(the game starts it, in its folder, when a leaderboard is set)\n", stderr);
    return 2;
  }
  // A Ctrl+C or a hang-up ends the game, which closes the pipe: the sender ends in its time.
  signal(SIGINT, SIG_IGN);
  signal(SIGHUP, SIG_IGN);
  signal(SIGQUIT, SIG_IGN);
  signal(SIGPIPE, SIG_IGN);
  const Leaderboard leaderboard = LeaderboardOf(argv[1]);
  GamePipe game;
  game.Watch("Zimbrel: the game has ended; what the leaderboard at " + leaderboard.url + " has not answered waits in " +
             ShownText(fs::absolute(kUnsentFolder).string()) + "/ for the next start");
  std::set<std::string> toldOnce;
  int retry = kFirstRetrySeconds;
  for (;;) {
    game.WaitForWork(0);
    bool allAnswered = SendWaiting(leaderboard, game, &toldOnce);
    while (!allAnswered && !game.Ended()) {
      game.WaitForWork(retry);
      retry = std::min(retry * 2, kLongestRetrySeconds);
      allAnswered = SendWaiting(leaderboard, game, &toldOnce);
    }
    retry = kFirstRetrySeconds;
    if (game.Ended()) break;
  }
  std::fflush(stderr);
  _exit(0);
}
