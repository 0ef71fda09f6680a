// A server on 127.0.0.1 that is not the leaderboard: it answers every request with one fixed
// answer, or, given none, takes connections and never answers. For the game's sender.
#pragma once

#include <atomic>
#include <string>
#include <thread>
#include <vector>

class StubHttpServer {
 public:
  explicit StubHttpServer(std::string answer);
  ~StubHttpServer();
  StubHttpServer(const StubHttpServer&) = delete;
  StubHttpServer& operator=(const StubHttpServer&) = delete;

  std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }
  int Requests() const { return requests_; }  // requests read whole or in part so far

 private:
  void Serve();

  std::string answer_;
  int listening_ = -1;
  int port_ = 0;
  std::atomic<int> requests_ = 0;
  std::atomic<bool> stopping_ = false;
  std::vector<int> held_;  // connections never answered, closed at the end
  std::thread thread_;
};
