// The HTTP side: the API, the world's table as a page, the browser's game under /play/, and
// one line on standard error for every request. Its threads read the store and queue proofs;
// they never verify.
#pragma once

#include <memory>
#include <string>

#include "leaderboard/game_store.h"
#include "leaderboard/server_options.h"
#include "leaderboard/verifier.h"

class AnsweringHttp;
class HttpFront;
namespace httplib {
class Server;
}

class LeaderboardServer {
 public:
  LeaderboardServer(GameStore& store, Verifier& verifier, const ServerOptions& options);
  ~LeaderboardServer();

  // Takes the address; false, with the reason, when it cannot. Port() then says the port.
  bool Bind(std::string* error);
  int Port() const;
  // Where /metrics is answered: --metrics-listen's port once bound, else Port().
  int MetricsPort() const;
  // Answers until Stop(), from another thread.
  void Serve();
  void Stop();

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
  std::unique_ptr<AnsweringHttp> http_;
  std::unique_ptr<HttpFront> front_;
  std::unique_ptr<httplib::Server> metricsHttp_;  // on --metrics-listen only
  int metricsPort_ = -1;
};
