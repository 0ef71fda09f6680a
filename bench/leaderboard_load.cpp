// The leaderboard's load: a proof sent by many clients at once, each copy made a text of its
// own (a comment) so that every one is verified; the answers counted and timed. Also the
// pages timed one after another, and a database filled with a million games.
//   zimbrel-leaderboard-load send URL PROOF --clients N --seconds S [--rate R] [--plays]
//   zimbrel-leaderboard-load get URL PATH --count N
//   zimbrel-leaderboard-load fill DATABASE N
// With --rate, requests start at R a second whatever the answers (an open loop, for answer
// times at a given load); without it each client sends its next when answered (the most the
// server takes). With --plays each copy is another play too, to be stored: it holds a key the
// game ignores in play (A) over a stretch of flips of its own between 100 and 1200, which suits
// the golden whole game.
#include <httplib.h>

#include <algorithm>
#include <cctype>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "leaderboard/game_store.h"
#include "leaderboard/sql_connection.h"

using Clock = std::chrono::steady_clock;

namespace {

struct Target {
  std::string host;
  int port = 0;
};

Target TargetOf(const std::string& url) {
  const size_t start = url.find("://") + 3;
  const size_t colon = url.find(':', start);
  return {url.substr(start, colon - start), std::stoi(url.substr(colon + 1))};
}

double Percentile(std::vector<double> values, double share) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[std::min(values.size() - 1, static_cast<size_t>(share * static_cast<double>(values.size())))];
}

void Report(const char* what, const std::vector<double>& ms, const std::map<int, int>& statuses, double seconds) {
  std::printf("%s: %zu answers in %.1f s, %.1f a second; p50 %.2f ms, p99 %.2f ms; statuses", what, ms.size(),
              seconds, static_cast<double>(ms.size()) / seconds, Percentile(ms, 0.5), Percentile(ms, 0.99));
  for (const auto& [status, count] : statuses) std::printf(" %d x%d", status, count);
  std::printf("\n");
}

// The proof with `line` put before its first line of a later flip.
std::string WithLine(const std::string& proof, uint64_t flip, const std::string& line) {
  for (size_t at = 0; at < proof.size(); at = proof.find('\n', at) + 1) {
    if (std::isdigit(static_cast<unsigned char>(proof[at])) && std::stoull(proof.substr(at, 20)) > flip) {
      return proof.substr(0, at) + std::to_string(flip) + " " + line + "\n" + proof.substr(at);
    }
    if (proof.find('\n', at) == std::string::npos) break;
  }
  return proof;
}

// Copy n as another play: A pressed at one flip and let go at a later one.
std::string AnotherPlay(const std::string& proof, long n) {
  const uint64_t press = 100 + 2 * static_cast<uint64_t>(n % 500);
  const uint64_t release = press + 1 + static_cast<uint64_t>(n / 500 % 50);
  return WithLine(WithLine(proof, press, "0 keys 30"), release, "0 keys");
}

int Send(const std::string& url, const std::string& proofFile, int clients, double seconds, double rate,
         bool plays) {
  std::stringstream read;
  read << std::ifstream(proofFile, std::ios::binary).rdbuf();
  const std::string proof = read.str();
  const Target target = TargetOf(url);
  std::mutex mutex;
  std::vector<double> ms;
  std::map<int, int> statuses;
  std::atomic<long> next{0};
  const auto start = Clock::now();
  const auto end = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
  std::vector<std::thread> threads;
  for (int c = 0; c < clients; ++c) {
    threads.emplace_back([&] {
      httplib::Client client(target.host, target.port);
      client.set_read_timeout(300, 0);
      for (;;) {
        const long n = next++;
        auto due = Clock::now();
        if (rate > 0) {
          due = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(static_cast<double>(n) / rate));
        }
        if (due >= end) return;
        std::this_thread::sleep_until(due);
        const std::string text = plays ? AnotherPlay(proof, n) : proof + "# load " + std::to_string(n) + "\n";
        const httplib::Result result = client.Post("/api/v1/games", text, "text/plain");
        // From when it was due: a request the clients could not start in time waited too.
        const double took = std::chrono::duration<double, std::milli>(Clock::now() - due).count();
        std::lock_guard<std::mutex> lock(mutex);
        ms.push_back(took);
        ++statuses[result ? result->status : -1];
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  Report("send", ms, statuses, std::chrono::duration<double>(Clock::now() - start).count());
  return 0;
}

int Get(const std::string& url, const std::string& path, int count) {
  const Target target = TargetOf(url);
  httplib::Client client(target.host, target.port);
  std::vector<double> ms;
  std::map<int, int> statuses;
  size_t bytes = 0;
  const auto start = Clock::now();
  for (int i = 0; i < count; ++i) {
    const auto sent = Clock::now();
    const httplib::Result result = client.Get(path.c_str());
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - sent).count());
    ++statuses[result ? result->status : -1];
    if (result) bytes = result->body.size();
  }
  Report(("get " + path + " (" + std::to_string(bytes) + " bytes)").c_str(), ms, statuses,
         std::chrono::duration<double>(Clock::now() - start).count());
  return 0;
}

// A million games in one statement, made by the database itself: scores spread over the
// range a game reaches, all from one proof.
int Fill(const std::string& address, long games) {
  OpenGameStore(address);  // the schema
  std::unique_ptr<SqlConnection> db = address.rfind("sqlite:", 0) == 0 ? OpenSqlite(address.substr(7)) : OpenPostgres(address);
  const bool sqlite = db->Dialect() == SqlDialect::Sqlite;
  const std::string numbers = sqlite ? "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < $1) "
                                     : "WITH n(i) AS (SELECT generate_series(1, $1::bigint)) ";
  const auto start = Clock::now();
  db->Begin();
  db->Run("INSERT INTO proofs (hash, text, received_at) VALUES ('filled', $1, 0)", {SqlBytes{"zimbrel-replay 1\n"}});
  db->Run(numbers +
              "INSERT INTO games (proof_id, game_key, name, score, swats_0, swats_1, swats_2, swats_3, swats_4,"
              " swats_5, swats_6, swats_7, stage, flips, received_at)"
              " SELECT (SELECT id FROM proofs WHERE hash = 'filled'), 'filled-' || i, 'F' || (i % 10) || (i % 7),"
              " (i * 7919) % 250000, 1, 2, 3, 4, 0, 0, 0, 0, 1 + i % 10, 1000 + i % 5000, 1700000000 + i FROM n",
          {int64_t{games}});
  db->Run("INSERT INTO score_buckets (bucket, games) SELECT score / 1024, count(*) FROM games GROUP BY score / 1024", {});
  db->Commit();
  if (!sqlite) db->Run("ANALYZE games", {});
  std::printf("fill: %ld games in %.1f s\n", games, std::chrono::duration<double>(Clock::now() - start).count());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> a(argv + 1, argv + argc);
  const auto option = [&](const std::string& name, double fallback) {
    const auto at = std::find(a.begin(), a.end(), name);
    return at != a.end() && at + 1 != a.end() ? std::stod(*(at + 1)) : fallback;
  };
  if (a.size() >= 3 && a[0] == "send") {
    return Send(a[1], a[2], static_cast<int>(option("--clients", 4)), option("--seconds", 10), option("--rate", 0),
                std::find(a.begin(), a.end(), "--plays") != a.end());
  }
  if (a.size() >= 3 && a[0] == "get") return Get(a[1], a[2], static_cast<int>(option("--count", 200)));
  if (a.size() == 3 && a[0] == "fill") return Fill(a[1], std::stol(a[2]));
  std::fprintf(stderr, "usage: see the top of bench/leaderboard_load.cpp\n");
  return 2;
}
