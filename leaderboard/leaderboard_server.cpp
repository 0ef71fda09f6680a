#include "leaderboard/leaderboard_server.h"

#include <httplib.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iterator>
#include <regex>
#include <thread>

#include "leaderboard/client_address.h"
#include "leaderboard/game_views.h"
#include "leaderboard/held_request_stream.h"
#include "leaderboard/http_front.h"
#include "leaderboard/log_text.h"
#include "leaderboard/proof_desk.h"
#include "leaderboard/rate_limiter.h"
#include "leaderboard/server_metrics.h"
#include "replay/play_figures.h"
#include "replay/sha256.h"
#include "leaderboard/site_files.h"
#include "leaderboard/table_files.h"
#include "leaderboard/watch_page.h"
#include "replay/replay_file.h"

using Clock = std::chrono::steady_clock;
using nlohmann::json;

namespace {

constexpr int64_t kMostApiRows = 100;
// Answering threads beyond those that wait for a verdict: reads go on while the queue is full.
constexpr int kSpareThreads = 16;

// What the request's line on standard error says besides its status: the verdict, or why not.
struct RequestNote {
  std::optional<Clock::time_point> start;  // none for a request refused before routing
  std::string note;
  // False for a verdict that no check of its own gave: a refusal remembered, or the check of
  // an identical proof under way.
  bool checked = true;
};
thread_local RequestNote currentRequest;

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
  if (data.empty()) return std::nullopt;  // a server made in a test's process, with no verifiers of its own
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

// The methods a known path answers (HEAD with GET, as httplib does); "" for an unknown path.
std::string AllowedAt(const std::string& path, bool site, bool metrics) {
  static const std::regex reading(R"(/|/healthz|/robots.txt|/favicon.ico|/font/table.otf|/players/.+|/api/v1/top|/api/v1/games/[^/]+(/replay)?|/games/[^/]+)");
  if (path == "/api/v1/games") return "POST";
  if (std::regex_match(path, reading) || (site && (path == "/play" || path.starts_with("/play/"))) ||
      (metrics && path == "/metrics")) {
    return "GET, HEAD";
  }
  return "";
}

// Servers may share a PostgreSQL database, and then an address's budgets; SQLite's file is one
// server's, which keeps them in memory.
GameStore* SharedBudgets(GameStore& store, const ServerOptions& options) {
  return options.database.starts_with("postgres") ? &store : nullptr;
}

}  // namespace

// httplib's answering, fed requests the front has read whole instead of reading its own socket.
class AnsweringHttp : public httplib::Server {
 public:
  bool AnswerOne(const FrontRequest& request) {
    HeldRequestStream stream(request);
    bool closed = false;
    return process_request(stream, request.last, closed, {}) && !closed;
  }
};

struct LeaderboardServer::Parts {
  GameStore& store;
  Verifier& verifier;
  ServerOptions options;
  RateLimiter limiter;
  RateLimiter cpuBudget;  // in seconds of checks' CPU
  ProofDesk desk;
  ServerMetrics metrics;

  // The games a proof brought, each with its rank, and the last of them (the game the proof was
  // kept for) as `game`.
  void AnswerKept(httplib::Response& response, int status, const std::vector<KeptGame>& games,
                  const std::string& how) {
    const Standing standing = store.StandingOf(games);
    json ranked = json::array();
    for (size_t i = 0; i < games.size(); ++i) ranked.push_back(GameJson(games[i], standing.ranks[i]));
    json body = {{"game", ranked.back()}, {"games", ranked}, {"total", standing.total}};
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
    if (const std::optional<std::string> why = store.BanOf(BanKind::Address, request.remote_addr)) {
      return Refuse(response, 403, "the address " + request.remote_addr + " is banned: " + *why);
    }
    const int64_t received = std::time(nullptr);
    const std::string hash = Sha256Hex(request.body);
    if (const std::vector<KeptGame> known = store.GamesOfProof(hash); !known.empty()) {
      return AnswerKeptUnlessHidden(response, 200, known, "kept already:");
    }
    if (!cpuBudget.Left(request.remote_addr, Clock::now(), &wait)) {
      response.set_header("Retry-After", std::to_string(wait));
      return Refuse(response, 429, "the proofs from " + request.remote_addr + " have taken their minute's " +
                                       "checking time; try again in " + std::to_string(wait) + " s");
    }
    Verifier::Refusal refusal{};
    const Clock::time_point asked = Clock::now();
    const std::optional<ProofDesk::Answer> answer = desk.Check(hash, request.body, &refusal);
    if (!answer) {
      if (refusal == Verifier::Refusal::Stopping) {
        response.set_header("Retry-After", "30");
        return Refuse(response, 503, "the server is stopping; send it again later");
      }
      response.set_header("Retry-After", "10");
      return Refuse(response, 503, "every verifier is busy and the queue is full; send it again later");
    }
    if (answer->checkedHere) cpuBudget.Spend(request.remote_addr, Clock::now(), answer->verdict.cpuSeconds);
    const ProofVerdict& verdict = answer->verdict;
    currentRequest.checked = answer->checkedHere;
    metrics.CountVerdict(verdict.outcome, std::chrono::duration<double>(Clock::now() - asked).count(),
                         answer->checkedHere);
    switch (verdict.outcome) {
      case ProofOutcome::Unreadable: return Refuse(response, 400, verdict.reason);
      case ProofOutcome::NotProven: return Refuse(response, 422, verdict.reason);
      case ProofOutcome::Crashed: return Refuse(response, 500, verdict.reason);
      case ProofOutcome::Stopping:
      case ProofOutcome::CheckFailed:
        response.set_header("Retry-After", "30");
        return Refuse(response, 503, verdict.reason);
      case ProofOutcome::Proven: break;
    }
    if (verdict.games.empty()) {
      return Refuse(response, 422, "it proves no game that entered the highscore table");
    }
    for (const ProvenGame& game : verdict.games) {
      if (const std::optional<std::string> why = store.BanOf(BanKind::Name, game.name)) {
        return Refuse(response, 403, "the name " + Printable(game.name, 3) + " is banned: " + *why);
      }
    }
    ProofToKeep proof{hash, request.body, received, verdict.games, {}};
    for (const ProvenGame& game : verdict.games) proof.holds.push_back(options.review ? ReviewHold(game.play) : "");
    std::vector<bool> fresh;
    const std::vector<KeptGame> kept = store.Keep(proof, &fresh);
    bool heldNow = false;
    for (size_t i = 0; i < kept.size(); ++i) heldNow = heldNow || (fresh[i] && kept[i].held);
    if (heldNow) metrics.CountHeld();
    const bool any = std::find(fresh.begin(), fresh.end(), true) != fresh.end();
    AnswerKeptUnlessHidden(response, any ? 201 : 200, kept, any ? "verified:" : "verified, kept already:");
  }

  // 202: kept, but off the table until an operator restores it; the sender need not send it again.
  void AnswerHeld(httplib::Response& response, const std::vector<KeptGame>& games, const KeptGame& held) {
    json listed = json::array();
    for (const KeptGame& game : games) {
      json shown = GameJson(game, 0);
      shown.erase("rank");
      shown["held"] = game.held;
      listed.push_back(shown);
    }
    const std::string why = "game " + std::to_string(held.id) + " is held for review: " + held.hiddenReason;
    Answer(response, 202, {{"held", true}, {"reason", why}, {"game", listed.back()}, {"games", listed}}, why);
  }

  void Metrics(const httplib::Request&, httplib::Response& response) {
    int64_t games = -1;
    try {
      games = store.Top(1, 0, std::nullopt).total;
    } catch (const StoreError&) {
      metrics.CountDatabaseError();
    }
    response.set_content(metrics.Text(verifier.Waiting(), games), "text/plain; version=0.0.4; charset=utf-8");
  }

  // A game an operator took off the table stays off it, whoever sends its proof again; one the
  // review holds is answered as held each time.
  void AnswerKeptUnlessHidden(httplib::Response& response, int status, const std::vector<KeptGame>& games,
                              const std::string& how) {
    const KeptGame* held = nullptr;
    for (const KeptGame& game : games) {
      if (!game.hiddenReason.empty() && !game.held) {
        return Refuse(response, 403, "game " + std::to_string(game.id) + " was taken off the world's table: " +
                                         game.hiddenReason);
      }
      if (game.held && !held) held = &game;
    }
    if (held) return AnswerHeld(response, games, *held);
    AnswerKept(response, status, games, how);
  }

  // The game the path names, while it is on the table.
  std::optional<KeptGame> ShownGame(const httplib::Request& request) {
    int64_t id = 0;
    std::optional<KeptGame> game = GameId(request, &id) ? store.Game(id) : std::nullopt;
    if (game && !game->hiddenReason.empty()) game.reset();
    return game;
  }

  // The query's season: all time unless it names a week; false for a name that is neither.
  static bool QuerySeason(const httplib::Request& request, std::optional<Season>* season) {
    const std::string name = request.has_param("season") ? request.get_param_value("season") : "all";
    *season = name == "all" ? std::nullopt : SeasonNamed(name);
    return name == "all" || *season;
  }

  void Top(const httplib::Request& request, httplib::Response& response) {
    int64_t limit = 0;
    int64_t offset = 0;
    std::optional<Season> season;
    if (!QueryNumber(request, "limit", 10, 1, kMostApiRows, &limit) ||
        !QueryNumber(request, "offset", 0, 0, INT64_MAX / 2, &offset)) {
      return Refuse(response, 400, "limit is 1 to " + std::to_string(kMostApiRows) + " and offset 0 or more");
    }
    if (!QuerySeason(request, &season)) {
      return Refuse(response, 400, "season is all or an ISO week, such as " + SeasonOf(std::time(nullptr)).name);
    }
    const TopGames top = store.Top(limit, offset, season);
    json rows = json::array();
    for (size_t i = 0; i < top.games.size(); ++i) {
      rows.push_back(GameJson(top.games[i], offset + 1 + static_cast<int64_t>(i)));
    }
    Answer(response, 200, {{"offset", offset}, {"games", rows}, {"total", top.total},
                           {"season", season ? season->name : "all"}});
  }

  // An id as the API writes it, and no other spelling of it ("+1", "01", " 1").
  bool GameId(const httplib::Request& request, int64_t* id) {
    const std::string text = request.matches[1];
    try {
      *id = std::stoll(text);
      return std::to_string(*id) == text;
    } catch (const std::exception&) {
      return false;
    }
  }

  void Game(const httplib::Request& request, httplib::Response& response) {
    const std::optional<KeptGame> game = ShownGame(request);
    if (!game) return Refuse(response, 404, "no game " + Printable(request.matches[1], 20));
    Answer(response, 200, GameJson(*game, store.StandingOf({*game}).ranks[0]));
  }

  void Replay(const httplib::Request& request, httplib::Response& response) {
    const std::optional<KeptGame> game = ShownGame(request);
    const std::optional<std::string> proof = game ? store.ProofOf(game->id) : std::nullopt;
    if (!proof) return Refuse(response, 404, "no game " + Printable(request.matches[1], 20));
    response.set_header("Content-Disposition",
                        "inline; filename=\"zimbrel-game-" + std::to_string(game->id) + ".replay\"");
    response.set_content(*proof, "text/plain; charset=utf-8");
  }

  // The game's own page, its player from the site's watch.html (read at each request: a new
  // build of the site is served at once).
  void GamePage(const httplib::Request& request, httplib::Response& response) {
    const std::optional<KeptGame> game = ShownGame(request);
    if (!game) {
      response.status = 404;
      response.set_content(NoGamePage(Printable(request.matches[1], 20)), "text/html; charset=utf-8");
      return;
    }
    std::string player;
    if (!options.site.empty()) {
      std::ifstream file(options.site + "/watch.html", std::ios::binary);
      player.assign(std::istreambuf_iterator<char>(file), {});
    }
    response.set_content(WatchPage(*game, store.StandingOf({*game}).ranks[0], player), "text/html; charset=utf-8");
  }

  void Page(const httplib::Request& request, httplib::Response& response) {
    std::optional<Season> season;
    if (!QuerySeason(request, &season)) {
      return Html(response, 400, MissingPage("season is all or an ISO week, such as " +
                                                 SeasonOf(std::time(nullptr)).name + ".", "/", "The world's table"));
    }
    TablePageView view;
    view.season = season ? season->name : "";
    ShowTable(request, response, view, [&](int64_t offset) {
      TopGames top = store.Top(kTablePageRows, offset, season);
      for (int64_t i = 1; i <= static_cast<int64_t>(top.games.size()); ++i) view.ranks.push_back(offset + i);
      return top;
    });
  }

  void Player(const httplib::Request& request, httplib::Response& response) {
    TablePageView view;
    view.player = request.matches[1];
    ShowTable(request, response, view, [&](int64_t offset) {
      TopGames top = store.PlayerGames(view.player, kTablePageRows, offset);
      view.ranks = store.StandingOf(top.games).ranks;
      return top;
    });
  }

  // The page `?page=` names (from 1) of the rows `read` finds from an offset; past the last
  // page, 404 and a way to the last.
  template <typename Read>
  void ShowTable(const httplib::Request& request, httplib::Response& response, TablePageView& view, Read read) {
    int64_t page = 1;
    if (!QueryNumber(request, "page", 1, 1, INT64_MAX / kTablePageRows, &page)) {
      return Html(response, 400, MissingPage("page is a whole number, 1 or more.", "/", "The world's table"));
    }
    const TopGames top = read((page - 1) * kTablePageRows);
    view.games = top.games;
    view.page = page;
    view.pages = std::max<int64_t>(1, (top.total + kTablePageRows - 1) / kTablePageRows);
    view.thisWeek = SeasonOf(std::time(nullptr)).name;
    view.playable = !options.site.empty();
    if (top.total == 0 && !view.player.empty()) {
      return Html(response, 404, MissingPage("No game of " + view.player + " is on the world's table.", "/",
                                             "The world's table"));
    }
    if (page > view.pages) {
      const std::string last = (view.player.empty() ? "/" : "/players/" + UrlEncoded(view.player)) + "?" +
                               (view.season.empty() ? "" : "season=" + view.season + "&amp;") +
                               "page=" + std::to_string(view.pages);
      return Html(response, 404, MissingPage("There is no page " + std::to_string(page) + "; the last is page " +
                                                 std::to_string(view.pages) + ".", last, "The last page"));
    }
    Html(response, 200, TablePage(view));
  }

  // No script runs; connect-src lets a crawler's check read robots.txt from the page.
  static void Html(httplib::Response& response, int status, const std::string& page) {
    response.status = status;
    response.set_header("Content-Security-Policy",
                        "default-src 'none'; style-src 'unsafe-inline'; font-src 'self'; img-src 'self'; connect-src 'self'");
    response.set_content(page, "text/html; charset=utf-8");
  }
};

LeaderboardServer::LeaderboardServer(GameStore& store, Verifier& verifier, const ServerOptions& options)
    : parts_(new Parts{store, verifier, options, RateLimiter(options.rate, SharedBudgets(store, options), "submissions"),
                       RateLimiter(options.cpuBudget, SharedBudgets(store, options), "checking"),
                       ProofDesk(verifier), {}}), http_(new AnsweringHttp) {
  Parts& parts = *parts_;
  AnsweringHttp& http = *http_;
  FrontOptions front{options.host, options.port, {}, static_cast<size_t>(options.queue + options.verifiers + kSpareThreads),
                     kLargestReplayBytes};
  for (const std::string& proxy : options.trustedProxies) front.trustedProxies.insert(CanonicalAddress(proxy).value());
  front_ = std::make_unique<HttpFront>(front, [&http](const FrontRequest& request) { return http.AnswerOne(request); });
  http.set_payload_max_length(kLargestReplayBytes);
  http.set_keep_alive_max_count(kRequestsPerConnection);
  http.set_keep_alive_timeout(kHeadSeconds);
  // No answer of ours is to be read as anything but the type it says.
  http.set_default_headers({{"X-Content-Type-Options", "nosniff"}});
  const bool site = !options.site.empty();
  const bool metricsHere = options.metricsHost.empty();
  http.set_pre_routing_handler([site, metricsHere](const httplib::Request& request, httplib::Response& response) {
    currentRequest = RequestNote{Clock::now(), ""};
    // A NUL ends the file's name on the disk but not its extension, which gives its type.
    if (request.path.find('\0') != std::string::npos) {
      Refuse(response, 400, "a path holds no NUL byte");
      return httplib::Server::HandlerResponse::Handled;
    }
    const std::string allowed = AllowedAt(request.path, site, metricsHere);
    if (allowed.empty() || allowed.find(request.method) != std::string::npos) {
      return httplib::Server::HandlerResponse::Unhandled;
    }
    response.set_header("Allow", allowed);
    if (request.method == "OPTIONS") {
      response.status = 204;
    } else {
      Refuse(response, 405, request.method + " is not answered at " + request.path + "; it takes " + allowed);
    }
    return httplib::Server::HandlerResponse::Handled;
  });
  // A store that fails answers 503, and says why in the log.
  const auto guarded = [&parts](void (Parts::*handler)(const httplib::Request&, httplib::Response&)) {
    return [&parts, handler](const httplib::Request& request, httplib::Response& response) {
      try {
        (parts.*handler)(request, response);
      } catch (const StoreError& fault) {
        parts.metrics.CountDatabaseError();
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
  http.Get("/players/(.+)", guarded(&Parts::Player));
  ServeTableFiles(http, options.site);
  http.Get(R"(/games/([^/]+))", guarded(&Parts::GamePage));
  http.Get("/healthz", [&parts](const httplib::Request&, httplib::Response& response) {
    try {
      parts.store.CheckHealth();
      if (const std::optional<std::string> missing = UnusableDataFolder(parts.options.data)) {
        return Refuse(response, 503, *missing);
      }
      Answer(response, 200, {{"status", "ok"}, {"service", "zimbrel-leaderboard"}, {"version", ZIMBREL_VERSION},
                             {"waiting", parts.verifier.Waiting()}});
    } catch (const StoreError& fault) {
      parts.metrics.CountDatabaseError();
      Refuse(response, 503, fault.Reason());
      currentRequest.note = fault.what();
    }
  });
  if (metricsHere) {
    http.Get("/metrics", guarded(&Parts::Metrics));
  } else {
    metricsHttp_ = std::make_unique<httplib::Server>();
    metricsHttp_->Get("/metrics", guarded(&Parts::Metrics));
  }
  if (!options.site.empty()) ServeSite(http, options.site);
  // What httplib answers itself (an unknown path) gets a reason too.
  http.set_error_handler(httplib::Server::HandlerWithResponse([](const httplib::Request&, httplib::Response& response) {
    if (!response.body.empty()) return httplib::Server::HandlerResponse::Unhandled;
    Refuse(response, response.status,
           response.status == 404 ? std::string("no such page")
                                    : "refused with status " + std::to_string(response.status));
    return httplib::Server::HandlerResponse::Handled;
  }));
  http.set_logger([&parts](const httplib::Request& request, const httplib::Response& response) {
    parts.metrics.CountRequest(request.method, request.path, response.status);
    char took[32] = "-";
    if (currentRequest.start) {
      std::snprintf(took, sizeof took, "%.1f ms",
                    std::chrono::duration<double, std::milli>(Clock::now() - *currentRequest.start).count());
    }
    LogRequestLine(request.remote_addr, request.method, request.path, response.status, took, 
                   (currentRequest.checked ? "" : "(no check of its own) ") + currentRequest.note);
    currentRequest = RequestNote{};
  });
}

LeaderboardServer::~LeaderboardServer() = default;

bool LeaderboardServer::Bind(std::string* error) {
  if (!front_->Bind(error)) return false;
  if (!metricsHttp_) return true;
  const ServerOptions& options = parts_->options;
  metricsPort_ = options.metricsPort == 0 ? metricsHttp_->bind_to_any_port(options.metricsHost)
                                          : (metricsHttp_->bind_to_port(options.metricsHost, options.metricsPort)
                                                 ? options.metricsPort
                                                 : -1);
  if (metricsPort_ >= 0) return true;
  *error = "cannot listen for /metrics on " + options.metricsHost + ":" + std::to_string(options.metricsPort) +
           " (" + std::strerror(errno) + ")";
  return false;
}

int LeaderboardServer::Port() const { return front_->Port(); }

int LeaderboardServer::MetricsPort() const { return metricsHttp_ ? metricsPort_ : Port(); }

void LeaderboardServer::Serve() {
  std::thread metrics;
  if (metricsHttp_) metrics = std::thread([this] { metricsHttp_->listen_after_bind(); });
  front_->Serve();
  if (metricsHttp_) {
    // A stop before its loop has begun would be lost.
    for (int wait = 0; wait < 500 && !metricsHttp_->is_running(); ++wait) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    metricsHttp_->stop();
    metrics.join();
  }
}

void LeaderboardServer::Stop() { front_->Stop(); }
