#include "leaderboard/held_request_stream.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr auto kAnswerTime = std::chrono::seconds(60);

}  // namespace

HeldRequestStream::HeldRequestStream(const FrontRequest& request)
    : request_(request), deadline_(std::chrono::steady_clock::now() + kAnswerTime) {}

bool HeldRequestStream::is_writable() const {
  pollfd writable{request_.socket, POLLOUT, 0};
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    const int ready = poll(&writable, 1, static_cast<int>(std::min<int64_t>(left.count(), 1000)));
    if (ready > 0) return (writable.revents & POLLOUT) != 0;
    if (ready < 0 && errno != EINTR) return false;
  }
}

ssize_t HeldRequestStream::read(char* bytes, size_t size) {
  const size_t taken = std::min(size, request_.bytes.size() - at_);
  std::memcpy(bytes, request_.bytes.data() + at_, taken);
  at_ += taken;
  return static_cast<ssize_t>(taken);
}

ssize_t HeldRequestStream::write(const char* bytes, size_t size) {
  size_t sent = 0;
  while (sent < size) {
    const ssize_t wrote = send(request_.socket, bytes + sent, size - sent, MSG_NOSIGNAL);
    if (wrote > 0) {
      sent += static_cast<size_t>(wrote);
    } else if (wrote < 0 && errno != EAGAIN && errno != EINTR) {
      return -1;
    } else if (!is_writable()) {
      return -1;
    }
  }
  return static_cast<ssize_t>(sent);
}

void HeldRequestStream::get_remote_ip_and_port(std::string& ip, int& port) const {
  ip = request_.client;
  port = request_.clientPort;
}

void HeldRequestStream::get_local_ip_and_port(std::string& ip, int& port) const {
  sockaddr_storage address{};
  socklen_t size = sizeof address;
  char host[NI_MAXHOST] = "";
  char service[NI_MAXSERV] = "";
  if (getsockname(request_.socket, reinterpret_cast<sockaddr*>(&address), &size) == 0 &&
      getnameinfo(reinterpret_cast<sockaddr*>(&address), size, host, sizeof host, service, sizeof service,
                  NI_NUMERICHOST | NI_NUMERICSERV) == 0) {
    ip = host;
    port = std::atoi(service);
  }
}
