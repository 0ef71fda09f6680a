// zimbrel-leaderboard run as an operator runs it: the built server in a folder of its own, on
// 127.0.0.1 at a free port, its log kept; and proofs to send it, made from the golden whole
// game by the scripted player (any name typed in place of its own).
#pragma once

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tests/support/child_process.h"

struct HttpAnswer {
  int status = -1;  // -1: no answer (refused, reset, timed out)
  std::string body;  // as sent, or as it was before its Content-Encoding
  std::map<std::string, std::string> headers;  // by their names in lower case
};

// A POST to a server on 127.0.0.1 at `port`, as a client sends a proof.
HttpAnswer HttpPost(int port, const std::string& proof, const std::string& path = "/api/v1/games");

class LeaderboardRun {
 public:
  // A fresh folder of its own, removed with the object.
  LeaderboardRun();
  ~LeaderboardRun();

  // Starts the server in the folder with these options (after --listen 127.0.0.1:0) and waits,
  // 20 s at most, for it to say where it listens; a failure fails the test. The games tests send
  // are the scripted player's, which the review holds: it is off unless `options` has --review.
  void Start(const std::vector<std::string>& options = {});
  int Port() const { return port_; }
  std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_); }
  HttpAnswer Post(const std::string& proof, const std::string& path = "/api/v1/games") const;
  HttpAnswer Get(const std::string& path) const;
  // `request` written as it stands from a socket bound to `from` (any address of 127/8), for
  // as long as the server reads it, then its answer (parsed), read until the server closes (a
  // request says Connection: close) or 10 s pass: what no client library would send.
  HttpAnswer Exchange(const std::string& request, const std::string& from = "127.0.0.1") const;
  // A connection to the server from the loopback address `from` (127.x.y.z), left open.
  int ConnectFrom(const std::string& from) const;
  // /api/v1/top once it holds `games` games (waited for 30 s at most); nothing if it never does.
  std::optional<nlohmann::json> WaitForGames(int games) const;
  ChildProcess& Process() { return server_; }
  std::string Log() const;  // its standard error so far
  const std::filesystem::path& Folder() const { return folder_; }

 private:
  std::filesystem::path folder_;
  ChildProcess server_;
  int port_ = 0;
  int started_ = 0;  // how many times, for the log's name
};

// The database a test runs on: "sqlite", a file in `folder`; or "postgresql", the one libpq's
// environment names (pg_virtualenv sets it), emptied first. "" where there is no PostgreSQL
// (the test then skips; it fails instead where ZIMBREL_POSTGRES_REQUIRED is set, as ctest
// sets it).
std::string TestDatabase(const std::string& kind, const std::filesystem::path& folder);

// The golden whole game (GLD, 197,530 points, stage 10) as a kept proof claims it, with `name`
// typed instead. `comment` goes into its comments, making another text of the same play; a
// `play` above 0 makes another play of the same score: the A key, which the rules ignore in
// play, held for two flips from flip 100 + 3 x play (up to play 300).
std::string GoldenProof(const std::string& name = "GLD", const std::string& comment = "", int play = 0);
constexpr int32_t kGoldenScore = 197530;
