// The server's front: one thread that accepts every connection, holds at most so many from one
// address, and reads each request whole (its head and its body, each within a deadline, each
// bounded) before an answering thread sees it. A slow or hostile client so costs a socket and
// a little memory, never an answering thread; what the front refuses it answers itself.
#pragma once

#include <functional>
#include <memory>
#include <set>
#include <string>

// What a connection may carry: so many requests, each head within so many seconds of the
// last answer (the keep-alive header the answers carry says the same).
constexpr int kRequestsPerConnection = 100;
constexpr int kHeadSeconds = 10;

// A whole request, its head written again with the body's plain length, and whose it is.
struct FrontRequest {
  int socket = -1;
  std::string client;  // the peer's address, or the one a trusted proxy forwarded
  int clientPort = 0;
  std::string bytes;
  bool last = false;  // the connection closes after its answer
};

struct FrontOptions {
  std::string host;
  int port = 0;
  std::set<std::string> trustedProxies;  // canonical addresses
  size_t answeringThreads = 8;
  size_t mostBodyBytes = 0;
};

class HttpFront {
 public:
  // Answers one request on an answering thread; true when the connection may carry another.
  using Answerer = std::function<bool(const FrontRequest&)>;
  HttpFront(FrontOptions options, Answerer answerer);
  ~HttpFront();

  // Takes the address, alone (a second server on it is refused); false, with the reason, when
  // it cannot.
  bool Bind(std::string* error);
  int Port() const;
  // Answers until Stop(), from another thread; returns once every answer under way is sent.
  void Serve();
  void Stop();

 private:
  struct Loop;
  std::unique_ptr<Loop> loop_;
};
