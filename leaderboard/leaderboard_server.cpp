#include "leaderboard/leaderboard_server.h"

#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <optional>
#include <cstdio>
#include <ctime>

#include "leaderboard/game_views.h"
#include "leaderboard/rate_limiter.h"
#include "leaderboard/sha256.h"
#include "leaderboard/site_files.h"

using Clock = std::chrono::steady_clock;
using nlohmann::json;

namespace {

constexpr int64_t kPageRows = 100;
constexpr int64_t kMostApiRows = 100;
// Answering threads beyond those that wait for a verdict: reads go on while the queue is full.
constexpr int kSpareThreads = 16;

// What the request's line on standard error says besides its status: the verdict, or why not.
struct RequestNote {
  std::optional<Clock::time_point> start;  // none for a request refused before routing
  std::string note;
};
thread_local RequestNote currentRequest;

// Text from a request, shown in the log: short, with control bytes escaped.
std::string Printable(const std::string& text, size_t most = 120) {
  std::string shown;
  for (const unsigned char c : text.substr(0, most)) {
    if (c < 0x20 || c >= 0x7f || c == '"') {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
      shown += escaped;
    } else {
      shown += static_cast<char>(c);
    }
  }
  return text.size() > most ? shown + "..." : shown;
}

void Answer(httplib::Response& response, int status, const json& body, const std::string& note = "") {
  response.status = status;
  response.set_content(body.dump(-1, ' ', false, json::error_handler_t::replace) + "\n", "application/json");
  if (!note.empty()) currentRequest.note = note;
}

void Refuse(httplib::Response& response, int status, const std::string& why) {
  Answer(response, status, {{"error", why}}, why);
}

// What the verifiers read from the data folder, while it is gone or unreadable (an unmounted
// disk, a mistaken move): every proof would be refused until it is back.
std::optional<std::string> UnusableDataFolder(const std::string& data) {
  if (data.empty()) return std::nullopt;
  for (const char* part : {"gfx", "snd"}) {
    const std::string folder = data + "/" + part;
    if (access(folder.c_str(), R_OK | X_OK) != 0) {
      return "the data folder's " + std::string(part) + "/ cannot be read: " + std::strerror(errno);
    }
  }
  return std::nullopt;
}

// A whole number from the query, within bounds; the default when it is not given.
bool QueryNumber(const httplib::Request& request, const char* name, int64_t fallback, int64_t low,
                 int64_t high, int64_t* number) {
  if (!request.has_param(name)) {
    *number = fallback;
    return true;
  }
  const std::string text = request.get_param_value(name);
  try {
    size_t used = 0;
    const long long value = std::stoll(text, &used);
    if (used != text.size() || value < low || value > high) return false;
    *number = value;
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

// Debian's cpp-httplib listens with a backlog of 5: a burst of clients overflows it while the
// verifiers keep both cores busy, and a client whose connection the kernel drops gets no answer
// at all. Listening again on the same socket takes the system's largest backlog instead.
void WidenBacklog(int port) {
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    int fd = -1;
    try {
      fd = std::stoi(entry.path().filename().string());
    } catch (const std::exception&) {
      continue;
    }
    int listening = 0;
    socklen_t size = sizeof listening;
    sockaddr_storage address{};
    socklen_t addressSize = sizeof address;
    if (getsockopt(fd, SOL_SOCKET, SO_ACCEPTCONN, &listening, &size) != 0 || !listening ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &addressSize) != 0) {
      continue;
    }
    const int bound = address.ss_family == AF_INET6 ? ntohs(reinterpret_cast<sockaddr_in6*>(&address)->sin6_port)
                                                    : ntohs(reinterpret_cast<sockaddr_in*>(&address)->sin_port);
    if (bound == port) listen(fd, SOMAXCONN);
  }
}

}  // namespace

struct LeaderboardServer::Parts {
  GameStore& store;
  VerifierPool& pool;
  ServerOptions options;
  RateLimiter limiter;

  json RankedGames(const std::vector<KeptGame>& games) {
    json ranked = json::array();
    for (const KeptGame& game : games) ranked.push_back(GameJson(game, store.RankOf(game)));
    return ranked;
  }

  // The games a proof brought, each with its rank, and the last of them (the game the proof was
  // kept for) as `game`.
  void AnswerKept(httplib::Response& response, int status, const std::vector<KeptGame>& games,
                  const std::string& how) {
    json ranked = RankedGames(games);
    const int64_t total = store.Count();
    json body = {{"game", ranked.back()}, {"games", ranked}, {"total", total}};
    std::string note = how;
    for (const KeptGame& game : games) {
      note += " " + game.name + " " + std::to_string(game.score) + " (game " + std::to_string(game.id) + ")";
    }
    Answer(response, status, body, note);
  }

  void Submit(const httplib::Request& request, httplib::Response& response) {
    int wait = 0;
    if (!limiter.Take(request.remote_addr, Clock::now(), &wait)) {
      response.set_header("Retry-After", std::to_string(wait));
      return Refuse(response, 429, "too many submissions from " + request.remote_addr + "; try again in " +
                                       std::to_string(wait) + " s");
    }
    const int64_t received = std::time(nullptr);
    const std::string hash = Sha256Hex(request.body);
    if (const std::vector<KeptGame> known = store.GamesOfProof(hash); !known.empty()) {
      return AnswerKept(response, 200, known, "kept already:");
    }
    std::optional<std::future<Verdict>> pending = pool.Submit(request.body);
    if (!pending) {
      response.set_header("Retry-After", "10");
      return Refuse(response, 503, "every verifier is busy and the queue is full; send it again later");
    }
    Verdict verdict = pending->get();
    switch (verdict.outcome) {
      case Verdict::Outcome::Unreadable: return Refuse(response, 400, verdict.reason);
      case Verdict::Outcome::NotProven: return Refuse(response, 422, verdict.reason);
      case Verdict::Outcome::Crashed: return Refuse(response, 500, verdict.reason);
      case Verdict::Outcome::Stopping:
        response.set_header("Retry-After", "30");
        return Refuse(response, 503, verdict.reason);
      case Verdict::Outcome::Proven: break;
    }
    if (verdict.games.empty()) {
      return Refuse(response, 422, "it proves no game that entered the highscore table");
    }
    std::vector<bool> fresh;
    const std::vector<KeptGame> kept = store.Keep(ProofToKeep{hash, request.body, received, verdict.games}, &fresh);
    const bool any = std::find(fresh.begin(), fresh.end(), true) != fresh.end();
    AnswerKept(response, any ? 201 : 200, kept, any ? "verified:" : "verified, kept already:");
  }

  void Top(const httplib::Request& request, httplib::Response& response) {
    int64_t limit = 0;
    int64_t offset = 0;
    if (!QueryNumber(request, "limit", 10, 1, kMostApiRows, &limit) ||
        !QueryNumber(request, "offset", 0, 0, INT64_MAX / 2, &offset)) {
      return Refuse(response, 400, "limit is 1 to " + std::to_string(kMostApiRows) + " and offset 0 or more");
    }
    const std::vector<KeptGame> games = store.Top(limit, offset);
    json rows = json::array();
    for (size_t i = 0; i < games.size(); ++i) rows.push_back(GameJson(games[i], offset + 1 + static_cast<int64_t>(i)));
    Answer(response, 200, {{"offset", offset}, {"games", rows}, {"total", store.Count()}});
  }

  bool GameId(const httplib::Request& request, int64_t* id) {
    try {
      size_t used = 0;
      const std::string text = request.matches[1];
      *id = std::stoll(text, &used);
      return used == text.size();
    } catch (const std::exception&) {
      return false;
    }
  }

  void Game(const httplib::Request& request, httplib::Response& response) {
    int64_t id = 0;
    const std::optional<KeptGame> game = GameId(request, &id) ? store.Game(id) : std::nullopt;
    if (!game) return Refuse(response, 404, "no game " + Printable(request.matches[1], 20));
    Answer(response, 200, GameJson(*game, store.RankOf(*game)));
  }

  void Replay(const httplib::Request& request, httplib::Response& response) {
    int64_t id = 0;
    const std::optional<std::string> proof = GameId(request, &id) ? store.ProofOf(id) : std::nullopt;
    if (!proof) return Refuse(response, 404, "no game " + Printable(request.matches[1], 20));
    response.set_header("Content-Disposition",
                        "inline; filename=\"zimbrel-game-" + std::to_string(id) + ".replay\"");
    response.set_content(*proof, "text/plain; charset=utf-8");
  }

  void Page(const httplib::Request& request, httplib::Response& response) {
    int64_t offset = 0;
    if (!QueryNumber(request, "offset", 0, 0, INT64_MAX / 2, &offset)) {
      response.status = 400;
      response.set_content("offset is a whole number, 0 or more\n", "text/plain");
      return;
    }
    TablePageView view;
    view.games = store.Top(kPageRows + 1, offset);
    view.more = static_cast<int64_t>(view.games.size()) > kPageRows;
    if (view.more) view.games.pop_back();
    view.offset = offset;
    view.pageSize = kPageRows;
    view.playable = !options.site.empty();
    response.set_header("Content-Security-Policy", "default-src 'none'; style-src 'unsafe-inline'");
    response.set_content(TablePage(view), "text/html; charset=utf-8");
  }
};

LeaderboardServer::LeaderboardServer(GameStore& store, VerifierPool& pool, const ServerOptions& options)
    : parts_(new Parts{store, pool, options, RateLimiter(options.rate)}), http_(new httplib::Server) {
  Parts& parts = *parts_;
  httplib::Server& http = *http_;
  const size_t threads = static_cast<size_t>(options.queue + options.verifiers + kSpareThreads);
  http.new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
  http.set_payload_max_length(kLargestProofBytes);
  http.set_pre_routing_handler([](const httplib::Request&, httplib::Response&) {
    currentRequest = RequestNote{Clock::now(), ""};
    return httplib::Server::HandlerResponse::Unhandled;
  });
  // A store that fails answers 503, and says why in the log.
  const auto guarded = [&parts](void (Parts::*handler)(const httplib::Request&, httplib::Response&)) {
    return [&parts, handler](const httplib::Request& request, httplib::Response& response) {
      try {
        (parts.*handler)(request, response);
      } catch (const StoreError& fault) {
        response.set_header("Retry-After", "30");
        Refuse(response, 503, fault.Reason());
        currentRequest.note = fault.what();
      }
    };
  };
  http.Post("/api/v1/games", guarded(&Parts::Submit));
  http.Get("/api/v1/top", guarded(&Parts::Top));
  http.Get(R"(/api/v1/games/([^/]+))", guarded(&Parts::Game));
  http.Get(R"(/api/v1/games/([^/]+)/replay)", guarded(&Parts::Replay));
  http.Get("/", guarded(&Parts::Page));
  http.Get("/healthz", [&parts](const httplib::Request&, httplib::Response& response) {
    try {
      parts.store.CheckHealth();
      if (const std::optional<std::string> missing = UnusableDataFolder(parts.options.data)) {
        return Refuse(response, 503, *missing);
      }
      Answer(response, 200, {{"status", "ok"}, {"service", "zimbrel-leaderboard"}, {"version", ZIMBREL_VERSION},
                             {"waiting", parts.pool.Waiting()}});
    } catch (const StoreError& fault) {
      Refuse(response, 503, fault.Reason());
      currentRequest.note = fault.what();
    }
  });
  if (!options.site.empty()) ServeSite(http, options.site);
  // What httplib answers itself (a body too large, an unknown path) gets a reason too.
  http.set_error_handler(httplib::Server::HandlerWithResponse([](const httplib::Request&, httplib::Response& response) {
    if (!response.body.empty()) return httplib::Server::HandlerResponse::Unhandled;
    Refuse(response, response.status,
           response.status == 413 ? "a proof is at most " + std::to_string(kLargestProofBytes) +
                                        " bytes, sent as text/plain (a form's encoding is taken up to 8 KiB)"
           : response.status == 404 ? std::string("no such page")
                                    : "refused with status " + std::to_string(response.status));
    return httplib::Server::HandlerResponse::Handled;
  }));
  http.set_logger([](const httplib::Request& request, const httplib::Response& response) {
    char took[32] = "-";
    if (currentRequest.start) {
      std::snprintf(took, sizeof took, "%.1f ms",
                    std::chrono::duration<double, std::milli>(Clock::now() - *currentRequest.start).count());
    }
    std::fprintf(stderr, "%s %s %s %d %s%s%s\n", request.remote_addr.c_str(), Printable(request.method, 10).c_str(),
                 Printable(request.path).c_str(), response.status, took, currentRequest.note.empty() ? "" : " ",
                 Printable(currentRequest.note, 300).c_str());
    currentRequest = RequestNote{};
  });
}

LeaderboardServer::~LeaderboardServer() = default;

bool LeaderboardServer::Bind(std::string* error) {
  const ServerOptions& options = parts_->options;
  if (options.port == 0) {
    port_ = http_->bind_to_any_port(options.host);
  } else {
    port_ = http_->bind_to_port(options.host, options.port) ? options.port : -1;
  }
  if (port_ <= 0) {
    *error = "cannot listen on " + options.host + ":" + std::to_string(options.port) + " (" +
             std::strerror(errno) + ")";
    return false;
  }
  WidenBacklog(port_);
  return true;
}

void LeaderboardServer::Serve() { http_->listen_after_bind(); }

void LeaderboardServer::Stop() { http_->stop(); }
