#include "programs/zimbrel/proof_sending.h"

#include <fcntl.h>
#include <httplib.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <vector>

#include "platform/options/quoted_text.h"

namespace fs = std::filesystem;

namespace {

int wakeSender = -1;  // the game's end of the pipe to the sender

// Retried while the game runs, at longer and longer waits.
constexpr int kFirstRetrySeconds = 30;
constexpr int kLongestRetrySeconds = 600;

// "https://example.org:8443/zimbrel/" as httplib takes it: where, and the path before api/.
struct Leaderboard {
  std::string origin;
  std::string prefix;
};

Leaderboard LeaderboardOf(const std::string& url) {
  const size_t hostStart = url.find("://") + 3;
  const size_t path = url.find('/', hostStart);
  Leaderboard leaderboard{url.substr(0, path), path == std::string::npos ? "/" : url.substr(path)};
  if (leaderboard.prefix.back() != '/') leaderboard.prefix += '/';
  return leaderboard;
}

std::string Grouped(int64_t number) {
  std::string digits = std::to_string(number < 0 ? -number : number);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(static_cast<size_t>(at), ",");
  return (number < 0 ? "-" : "") + digits;
}

// What the leaderboard said of a proof, for the player.
std::string Ranked(const std::string& body) {
  try {
    const nlohmann::json answer = nlohmann::json::parse(body);
    const nlohmann::json& game = answer.at("game");
    return "ranks " + game.at("name").get<std::string>() + " (" + Grouped(game.at("score").get<int64_t>()) +
           ") " + std::to_string(game.at("rank").get<int64_t>()) + " of " +
           std::to_string(answer.at("total").get<int64_t>());
  } catch (const nlohmann::json::exception&) {
    return "took it, with an answer that cannot be read";
  }
}

std::string Refusal(const std::string& body) {
  try {
    return nlohmann::json::parse(body).at("error").get<std::string>();
  } catch (const nlohmann::json::exception&) {
    return QuotedText(body);
  }
}

// Sends every proof that waits, oldest first; false when one must be tried again later.
bool SendWaiting(const std::string& url, std::set<std::string>* toldOnce) {
  std::vector<fs::path> waiting;
  std::error_code fault;
  for (const fs::directory_entry& entry : fs::directory_iterator(kUnsentFolder, fault)) {
    if (entry.path().extension() == ".replay") waiting.push_back(entry.path());
  }
  std::sort(waiting.begin(), waiting.end());
  const Leaderboard leaderboard = LeaderboardOf(url);
  httplib::Client client(leaderboard.origin);
  client.set_connection_timeout(10, 0);
  client.set_read_timeout(120, 0);  // it plays the game again before it answers
  bool allAnswered = true;
  for (const fs::path& proof : waiting) {
    std::ostringstream text;
    text << std::ifstream(proof, std::ios::binary).rdbuf();
    const httplib::Result result = client.Post((leaderboard.prefix + "api/v1/games").c_str(), text.str(), "text/plain");
    const std::string name = proof.filename().string();
    const int status = result ? result->status : 0;
    if (status == 200 || status == 201) {
      std::fprintf(stderr, "Zimbrel: the leaderboard at %s %s\n", url.c_str(), Ranked(result->body).c_str());
    } else if (status >= 400 && status < 500 && status != 408 && status != 429) {
      std::fprintf(stderr, "Zimbrel: the leaderboard at %s refused %s: %s\n", url.c_str(), name.c_str(),
                   Refusal(result->body).c_str());
    } else {
      allAnswered = false;
      if (toldOnce->insert(name).second) {
        const std::string why = result ? "it answered " + std::to_string(status) + ": " + Refusal(result->body)
                                       : httplib::to_string(result.error());
        std::fprintf(stderr, "Zimbrel: the leaderboard at %s did not take %s (%s); it waits in %s/\n", url.c_str(),
                     name.c_str(), why.c_str(), fs::absolute(kUnsentFolder).c_str());
      }
      continue;
    }
    fs::remove(proof, fault);
  }
  return allAnswered;
}

// The sender's life: what waits, then each proof as the game keeps it, until the game ends;
// then one last try, and gone. Failed sends are tried again while the game runs.
[[noreturn]] void Send(const std::string& url, int woken) {
  // A Ctrl+C or a hang-up ends the game, which closes the pipe: the sender ends after its try.
  signal(SIGINT, SIG_IGN);
  signal(SIGHUP, SIG_IGN);
  signal(SIGQUIT, SIG_IGN);
  signal(SIGPIPE, SIG_IGN);
  std::set<std::string> toldOnce;
  int retry = kFirstRetrySeconds;
  for (bool gameRuns = true;;) {
    const bool allAnswered = SendWaiting(url, &toldOnce);
    if (!gameRuns) break;
    retry = allAnswered ? kFirstRetrySeconds : retry;
    pollfd wake{woken, POLLIN, 0};
    const int ready = poll(&wake, 1, allAnswered ? -1 : retry * 1000);
    if (!allAnswered && ready == 0) retry = std::min(retry * 2, kLongestRetrySeconds);
    if (ready > 0) {
      char bytes[64];
      gameRuns = read(woken, bytes, sizeof bytes) > 0;
    }
  }
  std::fflush(stderr);
  _exit(0);
}

}  // namespace

std::string ConfiguredLeaderboard(const std::string& fromCommandLine) {
  if (!fromCommandLine.empty()) return fromCommandLine;
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  fs::path file;
  if (config && config[0] == '/') {
    file = fs::path(config) / "zimbrel/leaderboard";
  } else if (home) {
    file = fs::path(home) / ".config/zimbrel/leaderboard";
  } else {
    return "";
  }
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  line.erase(0, line.find_first_not_of(" \t\r"));
  line.erase(line.find_last_not_of(" \t\r") + 1);
  if (line.empty()) return "";
  if (line.rfind("http://", 0) != 0 && line.rfind("https://", 0) != 0) {
    std::fprintf(stderr, "Zimbrel: %s names no leaderboard (an address starting http:// or https://): %s\n",
                 file.c_str(), QuotedText(line).c_str());
    return "";
  }
  return line;
}

void StartSendingProofs(const std::string& url) {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) {
    std::fprintf(stderr, "Zimbrel: games cannot be sent to the leaderboard (%s)\n", std::strerror(errno));
    return;
  }
  std::fflush(nullptr);
  // Forked twice: the sender is no child of the game's, which never waits for it and ends as
  // it always has (its end of the pipe closing tells the sender).
  const pid_t between = fork();
  if (between == 0) {
    if (fork() == 0) {
      close(ends[1]);
      Send(url, ends[0]);
    }
    _exit(0);
  }
  close(ends[0]);
  if (between < 0) {
    std::fprintf(stderr, "Zimbrel: games cannot be sent to the leaderboard (%s)\n", std::strerror(errno));
    close(ends[1]);
    return;
  }
  while (waitpid(between, nullptr, 0) < 0 && errno == EINTR) {
  }
  fcntl(ends[1], F_SETFL, O_NONBLOCK);
  wakeSender = ends[1];
}

void NoteProofKept(const std::string& path) {
  if (wakeSender < 0) return;
  mkdir("replays", 0777);
  mkdir(kUnsentFolder, 0777);
  const fs::path waiting = fs::path(kUnsentFolder) / fs::path(path).filename();
  if (link(path.c_str(), waiting.c_str()) != 0 && errno != EEXIST) {
    std::error_code fault;
    if (!fs::copy_file(path, waiting, fault)) {
      std::fprintf(stderr, "Zimbrel: %s cannot wait to be sent to the leaderboard: %s\n",
                   fs::absolute(waiting).c_str(), fault.message().c_str());
      return;
    }
  }
  const char wake = '\n';
  if (write(wakeSender, &wake, 1) < 0) {
    // A full pipe has woken it already; a sender gone leaves the proof for the next start.
  }
}
