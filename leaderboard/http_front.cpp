#include "leaderboard/http_front.h"

#include <httplib.h>
#include <nlohmann/json.hpp>
#include <netdb.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

#include "leaderboard/chunked_body.h"
#include "leaderboard/client_address.h"
#include "leaderboard/log_text.h"
#include "leaderboard/request_head.h"

using Clock = std::chrono::steady_clock;

namespace {

constexpr auto kHeadTime = std::chrono::seconds(kHeadSeconds);
constexpr auto kBodyTime = std::chrono::seconds(60);
// After a refusal the client's further bytes are read and dropped a while, so that it reads
// the answer instead of a reset.
constexpr auto kLingerTime = std::chrono::seconds(5);
// At a stop, what a request still lacks has this long to come, and is then refused.
constexpr auto kStopGrace = std::chrono::seconds(2);
// Enough for a busy household or a school behind one address, each browser opening six.
constexpr int kConnectionsPerAddress = 64;
// Bodies the front holds at once, all connections together.
constexpr size_t kMostHeldBodyBytes = 256 << 20;

const char* Phrase(int status) {
  switch (status) {
    case 400: return "Bad Request";
    case 408: return "Request Timeout";
    case 413: return "Content Too Large";
    case 415: return "Unsupported Media Type";
    case 417: return "Expectation Failed";
    case 429: return "Too Many Requests";
    case 431: return "Request Header Fields Too Large";
    case 501: return "Not Implemented";
    case 503: return "Service Unavailable";
    default: return "HTTP Version Not Supported";
  }
}

// Small enough for any socket's buffer: written at once or not at all.
void SendRefusal(int socket, const Refusal& refusal) {
  const std::string body = nlohmann::json{{"error", refusal.reason}}.dump() + "\n";
  const std::string text = "HTTP/1.1 " + std::to_string(refusal.status) + " " + Phrase(refusal.status) +
                           "\r\nContent-Type: application/json\r\nX-Content-Type-Options: nosniff\r\n"
                           "Connection: close\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" +
                           (refusal.status == 429 || refusal.status == 503 ? "Retry-After: 10\r\n" : "") + "\r\n" + body;
  send(socket, text.data(), text.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
}

struct Connection {
  enum class Stage { Head, Body, Answering, Lingering };
  int socket = -1;
  std::string peer;
  int port = 0;
  Stage stage = Stage::Head;
  Clock::time_point deadline;
  std::string in;  // read and not yet taken
  std::optional<RequestHead> head;
  std::string client;
  BodyFraming framing;
  std::optional<ChunkedBody> chunked;
  std::string body;
  size_t held = 0;  // of kMostHeldBodyBytes
  int served = 0;
};

}  // namespace

struct HttpFront::Loop {
  FrontOptions options;
  Answerer answerer;
  int listener = -1;
  int port = 0;
  int poll = -1;
  int wake = -1;
  bool accepting = true;
  Clock::time_point acceptAgain;  // after the process ran out of descriptors
  size_t mostConnections = 0;
  std::map<int, Connection> connections;
  std::map<std::string, int> perAddress;
  size_t heldBodyBytes = 0;
  std::unique_ptr<httplib::ThreadPool> pool;

  std::mutex mutex;  // guards what follows, handed over from the answering threads
  bool stopping = false;
  std::vector<std::pair<int, bool>> returned;  // sockets answered, and whether they stay open

  void Watch(int socket, uint32_t events, int operation) {
    epoll_event event{};
    event.events = events;
    event.data.fd = socket;
    epoll_ctl(poll, operation, socket, &event);
  }

  void Close(Connection& connection) {
    heldBodyBytes -= connection.held;
    if (--perAddress[connection.peer] == 0) perAddress.erase(connection.peer);
    close(connection.socket);  // also leaves the epoll set
    connections.erase(connection.socket);
  }

  void Refuse(Connection& connection, const Refusal& refusal) {
    SendRefusal(connection.socket, refusal);
    const std::string path = connection.head ? connection.head->target.substr(0, connection.head->target.find('?')) : "-";
    LogRequestLine(connection.client.empty() ? connection.peer : connection.client,
                   connection.head ? connection.head->method : "-", path, refusal.status, "-", refusal.reason);
    shutdown(connection.socket, SHUT_WR);
    heldBodyBytes -= connection.held;
    connection.held = 0;
    connection.stage = Connection::Stage::Lingering;
    connection.deadline = Clock::now() + (listener < 0 ? kStopGrace : kLingerTime);
    connection.in.clear();
    connection.body.clear();
  }

  void Accept() {
    // A client that had its answer may already be back on a new connection: the old one's
    // count goes first.
    TakeBack();
    for (;;) {
      sockaddr_storage address{};
      socklen_t size = sizeof address;
      const int socket = accept4(listener, reinterpret_cast<sockaddr*>(&address), &size, SOCK_NONBLOCK | SOCK_CLOEXEC);
      if (socket < 0) {
        if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) PauseAccepting(true);
        return;
      }
      char host[NI_MAXHOST] = "";
      char service[NI_MAXSERV] = "";
      getnameinfo(reinterpret_cast<sockaddr*>(&address), size, host, sizeof host, service, sizeof service,
                  NI_NUMERICHOST | NI_NUMERICSERV);
      const std::string peer = CanonicalAddress(host).value_or(host);
      if (!options.trustedProxies.contains(peer) && perAddress[peer] >= kConnectionsPerAddress) {
        const Refusal refusal{429, "too many connections from " + peer + " (at most " +
                                       std::to_string(kConnectionsPerAddress) + " at once)"};
        SendRefusal(socket, refusal);
        LogRequestLine(peer, "-", "-", 429, "-", refusal.reason);
        close(socket);
        continue;
      }
      ++perAddress[peer];
      Connection& connection = connections[socket];
      connection.socket = socket;
      connection.peer = peer;
      connection.port = std::atoi(service);
      connection.deadline = Clock::now() + kHeadTime;
      Watch(socket, EPOLLIN, EPOLL_CTL_ADD);
      if (connections.size() >= mostConnections) return PauseAccepting(false);
    }
  }

  void PauseAccepting(bool outOfDescriptors) {
    accepting = false;
    acceptAgain = outOfDescriptors ? Clock::now() + std::chrono::milliseconds(100) : Clock::time_point::max();
    Watch(listener, 0, EPOLL_CTL_MOD);
  }

  void Read(Connection& connection) {
    char buffer[64 << 10];
    // A few reads a turn, so that one fast sender does not starve the others.
    for (int turn = 0; turn < 4; ++turn) {
      const ssize_t got = recv(connection.socket, buffer, sizeof buffer, 0);
      if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR)) return Close(connection);
      if (got < 0) return;
      if (connection.stage == Connection::Stage::Lingering) continue;
      connection.in.append(buffer, static_cast<size_t>(got));
      Go(connection);
      if (connection.stage != Connection::Stage::Head && connection.stage != Connection::Stage::Body) return;
    }
  }

  // Takes what the connection has read as far as it goes: a head, then its body.
  void Go(Connection& connection) {
    if (connection.stage == Connection::Stage::Head) {
      HeadReading reading = ReadRequestHead(connection.in);
      if (reading.refusal) return Refuse(connection, *reading.refusal);
      if (!reading.head) return;
      connection.in.erase(0, reading.used);
      connection.head = std::move(reading.head);
      std::variant<std::string, Refusal> client =
          ClientAddress(connection.peer, connection.head->Field("X-Forwarded-For"), options.trustedProxies);
      if (const Refusal* refusal = std::get_if<Refusal>(&client)) return Refuse(connection, *refusal);
      connection.client = std::get<std::string>(client);
      std::variant<BodyFraming, Refusal> framing = FramingOf(*connection.head, options.mostBodyBytes);
      if (const Refusal* refusal = std::get_if<Refusal>(&framing)) return Refuse(connection, *refusal);
      connection.framing = std::get<BodyFraming>(framing);
      if (!connection.framing.chunked && connection.framing.length == 0) return Hand(connection);
      connection.held = connection.framing.chunked ? options.mostBodyBytes : connection.framing.length;
      if (heldBodyBytes + connection.held > kMostHeldBodyBytes) {
        connection.held = 0;
        return Refuse(connection, {503, "the server holds as many bodies as it can; send it again shortly"});
      }
      heldBodyBytes += connection.held;
      if (connection.framing.chunked) connection.chunked.emplace(options.mostBodyBytes);
      if (connection.framing.expectsContinue && connection.in.empty()) {
        send(connection.socket, "HTTP/1.1 100 Continue\r\n\r\n", 25, MSG_NOSIGNAL | MSG_DONTWAIT);
      }
      connection.stage = Connection::Stage::Body;
      connection.deadline = Clock::now() + kBodyTime;
    }
    if (connection.chunked) {
      size_t used = 0;
      const ChunkedBody::Step step = connection.chunked->Feed(connection.in, &used, &connection.body);
      connection.in.erase(0, used);
      if (step == ChunkedBody::Step::Refused) return Refuse(connection, connection.chunked->Why());
      if (step == ChunkedBody::Step::Done) Hand(connection);
      return;
    }
    const size_t taken = std::min(connection.framing.length - connection.body.size(), connection.in.size());
    connection.body.append(connection.in, 0, taken);
    connection.in.erase(0, taken);
    if (connection.body.size() == connection.framing.length) Hand(connection);
  }

  // To an answering thread; the connection comes back when it is answered.
  void Hand(Connection& connection) {
    FrontRequest request{connection.socket, connection.client, connection.port,
                         ForwardedHead(*connection.head, connection.body.size()) + connection.body, false};
    {
      std::lock_guard<std::mutex> lock(mutex);
      request.last = stopping || ++connection.served >= kRequestsPerConnection;
    }
    heldBodyBytes -= connection.held;
    connection.held = 0;
    connection.body.clear();
    connection.chunked.reset();
    connection.head.reset();
    connection.stage = Connection::Stage::Answering;
    // Out of the set while it is answered: a hang-up is reported even for no events, and the
    // socket is the answering thread's until it comes back.
    Watch(connection.socket, 0, EPOLL_CTL_DEL);
    pool->enqueue([this, request = std::move(request)] {
      const bool open = answerer(request) && !request.last;
      std::lock_guard<std::mutex> lock(mutex);
      returned.emplace_back(request.socket, open);
      const uint64_t one = 1;
      [[maybe_unused]] const ssize_t written = write(wake, &one, sizeof one);
    });
  }

  void TakeBack() {
    uint64_t count = 0;
    [[maybe_unused]] const ssize_t got = read(wake, &count, sizeof count);
    std::vector<std::pair<int, bool>> answered;
    bool stop = false;
    {
      std::lock_guard<std::mutex> lock(mutex);
      answered.swap(returned);
      stop = stopping;
    }
    for (const auto& [socket, open] : answered) {
      Connection& connection = connections.at(socket);
      if (!open || stop) {
        Close(connection);
        continue;
      }
      connection.stage = Connection::Stage::Head;
      connection.client.clear();
      connection.deadline = Clock::now() + kHeadTime;
      Watch(socket, EPOLLIN, EPOLL_CTL_ADD);
      Go(connection);  // a request sent before the answer may be whole already
    }
  }

  void Expire(Clock::time_point now) {
    std::vector<int> late;
    for (const auto& [socket, connection] : connections) {
      if (connection.stage != Connection::Stage::Answering && connection.deadline <= now) late.push_back(socket);
    }
    for (const int socket : late) {
      Connection& connection = connections.at(socket);
      const bool waitingForNothing = connection.stage == Connection::Stage::Head && connection.in.empty();
      if (connection.stage == Connection::Stage::Lingering || waitingForNothing) {
        Close(connection);
      } else if (listener < 0) {
        Refuse(connection, {503, "the server is stopping; send it again shortly"});
      } else {
        const bool head = connection.stage == Connection::Stage::Head;
        const auto limit = head ? kHeadTime : kBodyTime;
        Refuse(connection, {408, std::string(head ? "the request's head" : "the request's body") + " did not come whole within " +
                                     std::to_string(std::chrono::seconds(limit).count()) + " s"});
      }
    }
    if (!accepting && listener >= 0 && connections.size() < mostConnections && now >= acceptAgain) {
      accepting = true;
      Watch(listener, EPOLLIN, EPOLL_CTL_MOD);
    }
  }

  // At a stop: no more connections, those kept alive for nothing closed, and a request under
  // way (a new connection's too) given a little while to come whole and be answered.
  void CloseIdle() {
    Accept();  // those the kernel has taken already were under way too
    close(listener);
    listener = -1;
    std::vector<int> idle;
    for (auto& [socket, connection] : connections) {
      const bool waiting = connection.stage == Connection::Stage::Head && connection.in.empty() && connection.served > 0;
      if (waiting || connection.stage == Connection::Stage::Lingering) idle.push_back(socket);
      connection.deadline = std::min(connection.deadline, Clock::now() + kStopGrace);
    }
    for (const int socket : idle) Close(connections.at(socket));
  }
};

HttpFront::HttpFront(FrontOptions options, Answerer answerer) : loop_(new Loop) {
  loop_->options = std::move(options);
  loop_->answerer = std::move(answerer);
}

HttpFront::~HttpFront() {
  for (const int descriptor : {loop_->listener, loop_->poll, loop_->wake}) {
    if (descriptor >= 0) close(descriptor);
  }
}

bool HttpFront::Bind(std::string* error) {
  Loop& loop = *loop_;
  const std::string where = loop.options.host + ":" + std::to_string(loop.options.port);
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
  addrinfo* found = nullptr;
  if (const int fault = getaddrinfo(loop.options.host.c_str(), std::to_string(loop.options.port).c_str(), &hints, &found)) {
    *error = "cannot listen on " + where + " (" + gai_strerror(fault) + ")";
    return false;
  }
  int fault = 0;
  for (const addrinfo* at = found; at && loop.listener < 0; at = at->ai_next) {
    const int socket = ::socket(at->ai_family, at->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, at->ai_protocol);
    // SO_REUSEADDR lets a restarted server take its address at once, and still no second
    // server takes a live one; SO_REUSEPORT, which would, is never set.
    const int on = 1;
    if (socket >= 0 && setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) == 0 &&
        bind(socket, at->ai_addr, at->ai_addrlen) == 0 && listen(socket, SOMAXCONN) == 0) {
      loop.listener = socket;
      break;
    }
    fault = errno;
    if (socket >= 0) close(socket);
  }
  freeaddrinfo(found);
  if (loop.listener < 0) {
    *error = "cannot listen on " + where + " (" + std::strerror(fault) + ")";
    return false;
  }
  sockaddr_storage bound{};
  socklen_t size = sizeof bound;
  getsockname(loop.listener, reinterpret_cast<sockaddr*>(&bound), &size);
  char service[NI_MAXSERV] = "";
  getnameinfo(reinterpret_cast<sockaddr*>(&bound), size, nullptr, 0, service, sizeof service, NI_NUMERICSERV);
  loop.port = std::atoi(service);
  return true;
}

int HttpFront::Port() const { return loop_->port; }

void HttpFront::Serve() {
  Loop& loop = *loop_;
  // Every connection is a descriptor: take all the system allows, and keep some for the
  // database, the verifiers' pipes and the site's files.
  rlimit files{};
  getrlimit(RLIMIT_NOFILE, &files);
  files.rlim_cur = files.rlim_max;
  setrlimit(RLIMIT_NOFILE, &files);
  getrlimit(RLIMIT_NOFILE, &files);
  loop.mostConnections = static_cast<size_t>(std::max<rlim_t>(64, std::min<rlim_t>(files.rlim_cur, 100000) - 256));
  loop.pool = std::make_unique<httplib::ThreadPool>(loop.options.answeringThreads);
  loop.poll = epoll_create1(EPOLL_CLOEXEC);
  loop.wake = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  loop.Watch(loop.listener, EPOLLIN, EPOLL_CTL_ADD);
  loop.Watch(loop.wake, EPOLLIN, EPOLL_CTL_ADD);
  bool stopped = false;
  for (;;) {
    epoll_event events[64];
    const int ready = epoll_wait(loop.poll, events, 64, 200);
    for (int i = 0; i < ready; ++i) {
      const int socket = events[i].data.fd;
      if (socket == loop.listener) {
        loop.Accept();
      } else if (socket == loop.wake) {
        loop.TakeBack();
      } else if (const auto found = loop.connections.find(socket);
                 found != loop.connections.end() && found->second.stage != Connection::Stage::Answering) {
        loop.Read(found->second);
      }
    }
    bool stopNow = false;
    if (!stopped) {
      std::lock_guard<std::mutex> lock(loop.mutex);
      stopNow = stopped = loop.stopping;
    }
    if (stopNow) loop.CloseIdle();  // outside the lock: it takes answered connections back
    if (stopped && loop.connections.empty()) break;
    loop.Expire(Clock::now());
  }
  loop.pool->shutdown();
}

void HttpFront::Stop() {
  std::lock_guard<std::mutex> lock(loop_->mutex);
  loop_->stopping = true;
  const uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = write(loop_->wake, &one, sizeof one);
}
