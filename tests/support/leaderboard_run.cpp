#include "tests/support/leaderboard_run.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <httplib.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <regex>
#include <sstream>
#include <thread>

#include "leaderboard/sql_connection.h"
#include "platform/files/temporary_folder.h"
#include "tests/support/file_bytes.h"

namespace fs = std::filesystem;

namespace {

// The keys of the letters and digits, as a replay writes them.
int KeyCode(char c) {
  static const std::string kRows[] = {"1234567890", "QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
  static const int kFirst[] = {2, 16, 30, 44};
  for (int row = 0; row < 4; ++row) {
    const size_t at = kRows[row].find(c);
    if (at != std::string::npos) return kFirst[row] + static_cast<int>(at);
  }
  return 0;
}

}  // namespace

LeaderboardRun::LeaderboardRun() : folder_(MakeTemporaryFolder("zimbrel-leaderboard-test").value()) {}

LeaderboardRun::~LeaderboardRun() {
  server_.Stop();
  std::error_code ignored;
  fs::remove_all(folder_, ignored);
}

void LeaderboardRun::Start(const std::vector<std::string>& options) {
  ChildProcess::Options run;
  run.command = {ZIMBREL_LEADERBOARD, "--listen", "127.0.0.1:0"};
  run.command.insert(run.command.end(), options.begin(), options.end());
  if (std::find(options.begin(), options.end(), "--review") == options.end()) {
    run.command.insert(run.command.end(), {"--review", "off"});
  }
  // Its temporary folders inside the test's, where a test can see what is left of them.
  fs::create_directories(folder_ / "tmp");
  run.environment = EnvironmentWith({{"TMPDIR", (folder_ / "tmp").string()}});
  run.workingDirectory = folder_;
  run.outputFile = folder_ / "server.out";
  run.errorFile = folder_ / ("server-" + std::to_string(++started_) + ".log");
  std::string error;
  ASSERT_TRUE(server_.Start(run, &error)) << error;
  const std::regex listening("listening on http://127\\.0\\.0\\.1:([0-9]+)/");
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  for (;;) {
    std::smatch found;
    const std::string log = FileText(run.errorFile);
    if (std::regex_search(log, found, listening)) {
      port_ = std::stoi(found[1]);
      return;
    }
    ASSERT_TRUE(server_.Running()) << "the server ended: " << log;
    ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the server never listened: " << log;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

std::string LeaderboardRun::Log() const {
  std::string log;
  for (int i = 1; i <= started_; ++i) log += FileText(folder_ / ("server-" + std::to_string(i) + ".log"));
  return log;
}

namespace {

// The answer with its headers' names in lower case; `failed` where none came.
HttpAnswer AnswerOf(const httplib::Result& result, const HttpAnswer& failed) {
  if (!result) return failed;
  HttpAnswer answer{result->status, result->body, {}};
  for (const auto& [name, value] : result->headers) {
    std::string lower = name;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    answer.headers[lower] = value;
  }
  return answer;
}

}  // namespace

HttpAnswer HttpPost(int port, const std::string& proof, const std::string& path) {
  httplib::Client client("127.0.0.1", port);
  client.set_read_timeout(120, 0);
  const httplib::Result result = client.Post(path.c_str(), proof, "text/plain");
  return AnswerOf(result, {-1, result ? "" : httplib::to_string(result.error()), {}});
}

HttpAnswer LeaderboardRun::Post(const std::string& proof, const std::string& path) const {
  return HttpPost(port_, proof, path);
}

HttpAnswer LeaderboardRun::Get(const std::string& path) const {
  httplib::Client client("127.0.0.1", port_);
  // As a browser asks.
  return AnswerOf(client.Get(path.c_str(), {{"Accept-Encoding", "gzip, deflate"}}), {});
}

int LeaderboardRun::ConnectFrom(const std::string& from) const {
  const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  inet_pton(AF_INET, from.c_str(), &address.sin_addr);
  bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address);
  address.sin_port = htons(static_cast<uint16_t>(port_));
  inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
  EXPECT_EQ(connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address), 0) << from;
  return socket;
}

HttpAnswer LeaderboardRun::Exchange(const std::string& request, const std::string& from) const {
  const int socket = ConnectFrom(from);
  fcntl(socket, F_SETFL, fcntl(socket, F_GETFL) | O_NONBLOCK);
  std::string answer;
  size_t sent = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  // Sends while the server reads, and stops at its first byte of answer.
  for (pollfd ready{socket, POLLIN | POLLOUT, 0}; std::chrono::steady_clock::now() < deadline;) {
    ready.events = static_cast<short>(POLLIN | (answer.empty() && sent < request.size() ? POLLOUT : 0));
    if (poll(&ready, 1, 100) <= 0) continue;
    if (ready.revents & POLLIN) {
      char buffer[4096];
      const ssize_t got = recv(socket, buffer, sizeof buffer, 0);
      if (got <= 0) break;
      answer.append(buffer, static_cast<size_t>(got));
    } else if (ready.revents & POLLOUT) {
      const ssize_t wrote = send(socket, request.data() + sent, std::min<size_t>(request.size() - sent, 1 << 16), MSG_NOSIGNAL);
      if (wrote < 0) break;
      sent += static_cast<size_t>(wrote);
    } else {
      break;
    }
  }
  close(socket);
  // "HTTP/1.1 200 OK", its fields, a blank line and the body.
  HttpAnswer parsed;
  const size_t end = answer.find("\r\n\r\n");
  if (answer.rfind("HTTP/1.", 0) != 0 || end == std::string::npos) return parsed;
  parsed.status = std::stoi(answer.substr(9, 3));
  parsed.body = answer.substr(end + 4);
  std::istringstream fields(answer.substr(0, end));
  for (std::string line; std::getline(fields, line);) {
    if (line.ends_with('\r')) line.pop_back();
    const size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::string name = line.substr(0, colon);
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    parsed.headers[name] = line.substr(colon + 2);
  }
  return parsed;
}

std::optional<nlohmann::json> LeaderboardRun::WaitForGames(int games) const {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  do {
    const HttpAnswer top = Get("/api/v1/top");
    if (top.status == 200) {
      nlohmann::json answer = nlohmann::json::parse(top.body);
      if (answer["total"] >= games) return answer;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  } while (std::chrono::steady_clock::now() < deadline);
  return std::nullopt;
}

std::string TestDatabase(const std::string& kind, const fs::path& folder) {
  if (kind == "sqlite") return "sqlite:" + (folder / "leaderboard.sqlite").string();
  if (!std::getenv("PGHOST")) {
    if (std::getenv("ZIMBREL_POSTGRES_REQUIRED")) ADD_FAILURE() << "no PostgreSQL: PGHOST is not set";
    return "";
  }
  OpenPostgres("postgresql://")->Run("DROP TABLE IF EXISTS address_budgets, audit, bans, score_buckets, proof_games, games, proofs, schema_version", {});
  return "postgresql://";
}

std::string GoldenProof(const std::string& name, const std::string& comment, int play) {
  std::string replay = FileText(fs::path(ZIMBREL_SOURCE_DIR) / "tests/replays/whole_game.replay");
  // The name typed at flips 1222 to 1224.
  const char* const typed[] = {"1222 1 keys ", "1223 1 keys ", "1224 1 keys "};
  for (size_t i = 0; i < 3; ++i) {
    const size_t at = replay.find(typed[i]);
    const size_t end = replay.find('\n', at);
    replay.replace(at, end - at, typed[i] + std::to_string(KeyCode(name[i])));
  }
  if (play > 0) {
    // Each line goes before the first line of the flip after its own.
    for (const int flip : {100 + 3 * play, 102 + 3 * play}) {
      const size_t next = replay.find("\n" + std::to_string(flip + 1) + " 0 ");
      replay.insert(next + 1, std::to_string(flip) + " 0 keys" + (flip % 3 == 1 ? " 30\n" : "\n"));
    }
  }
  const std::string claims = "# program: zimbrel 1.0.0 desktop\n# proves: " + name + " score " +
                             std::to_string(kGoldenScore) + " swats 0,1,56,8,9,0,1,4 stage 10 flip 1224\n" +
                             (comment.empty() ? "" : "# " + comment + "\n");
  return replay.insert(replay.find('\n') + 1, claims);
}
