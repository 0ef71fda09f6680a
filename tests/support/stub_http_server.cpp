#include "tests/support/stub_http_server.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

StubHttpServer::StubHttpServer(std::string answer) : answer_(std::move(answer)) {
  listening_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  if (bind(listening_, reinterpret_cast<sockaddr*>(&address), size) == 0 && listen(listening_, 16) == 0 &&
      getsockname(listening_, reinterpret_cast<sockaddr*>(&address), &size) == 0) {
    port_ = ntohs(address.sin_port);
  }
  thread_ = std::thread([this] { Serve(); });
}

StubHttpServer::~StubHttpServer() {
  stopping_ = true;
  thread_.join();
  for (int connection : held_) close(connection);
  close(listening_);
}

void StubHttpServer::Serve() {
  while (!stopping_) {
    pollfd waiting{listening_, POLLIN, 0};
    if (poll(&waiting, 1, 100) != 1) continue;
    const int connection = accept4(listening_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) continue;
    // The request's first bytes are enough: the answer does not depend on it.
    pollfd readable{connection, POLLIN, 0};
    char bytes[4096];
    if (poll(&readable, 1, 2000) == 1 && read(connection, bytes, sizeof bytes) > 0) requests_ += 1;
    if (answer_.empty()) {
      held_.push_back(connection);
      continue;
    }
    if (write(connection, answer_.data(), answer_.size()) > 0) {
      // Read what is left until the sender closes: closing with its proof unread would reset
      // the connection under the answer.
      shutdown(connection, SHUT_WR);
      while (poll(&readable, 1, 2000) == 1 && read(connection, bytes, sizeof bytes) > 0) {
      }
    }
    close(connection);
  }
}
