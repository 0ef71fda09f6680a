#include "programs/zimbrel-send/leaderboard_answer.h"

#include <netdb.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <optional>
#include <regex>

#include "platform/options/grouped_number.h"
#include "platform/options/quoted_text.h"

namespace {

// The leaderboard answers in JSON: a ranked game, or {"error": why}. Anything else came from
// something in the way (a proxy, a captive portal, another server at that address).
std::optional<nlohmann::json> LeaderboardBody(const httplib::Response& response) {
  if (response.get_header_value("Content-Type").rfind("application/json", 0) != 0) return std::nullopt;
  nlohmann::json body = nlohmann::json::parse(response.body, nullptr, false);
  if (!body.is_object()) return std::nullopt;
  return body;
}

std::string NotTheLeaderboards(const httplib::Response& response) {
  const std::string type = response.get_header_value("Content-Type");
  return "it answered " + std::to_string(response.status) + " with " +
         (type.empty() ? std::string("no Content-Type") : QuotedText(type)) + ", not as the leaderboard answers";
}

std::string Ranked(const nlohmann::json& answer) {
  const nlohmann::json& game = answer.at("game");
  return "ranks " + ShownText(game.at("name").get<std::string>()) + " (" +
         Grouped(game.at("score").get<int64_t>()) + ") " + std::to_string(game.at("rank").get<int64_t>()) +
         " of " + std::to_string(answer.at("total").get<int64_t>());
}

// Why httplib could not connect, which it does not say: the name resolved here, then the
// connection tried once more for the system's own reason.
std::string WhyNoConnection(const std::string& host, int port) {
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (const int fault = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found); fault != 0) {
    return "the name " + QuotedText(host) + " is not resolved: " + gai_strerror(fault);
  }
  std::string why = "no connection";
  const int probe = socket(found->ai_family, found->ai_socktype | SOCK_CLOEXEC, found->ai_protocol);
  if (probe >= 0) {
    const timeval patience{3, 0};
    setsockopt(probe, SOL_SOCKET, SO_SNDTIMEO, &patience, sizeof patience);
    if (connect(probe, found->ai_addr, found->ai_addrlen) != 0) {
      why = std::strerror(errno);
      why[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(why[0])));
    }
    close(probe);
  }
  freeaddrinfo(found);
  return why;
}

}  // namespace

AnswerMeaning MeaningOf(const httplib::Result& result, const std::string& host, int port, int waited,
                        double took) {
  using Fate = AnswerMeaning::Fate;
  if (!result) {
    switch (result.error()) {
      case httplib::Error::Connection: return {Fate::Waits, WhyNoConnection(host, port)};
      case httplib::Error::ConnectionTimeout: return {Fate::Waits, "no connection within " + std::to_string(waited) + " s"};
      case httplib::Error::Read:
        return {Fate::Waits, took + 0.5 >= waited ? "timed out after " + std::to_string(waited) + " s"
                                            : "the connection closed before an answer"};
      default: return {Fate::Waits, "no answer (" + httplib::to_string(result.error()) + ")"};
    }
  }
  const int status = result->status;
  const std::optional<nlohmann::json> body = LeaderboardBody(*result);
  if (!body) return {Fate::Waits, NotTheLeaderboards(*result)};
  try {
    if (status == 200 || status == 201) return {Fate::Ranked, Ranked(*body)};
    if (status == 202) return {Fate::Held, "holds it for review: " + ShownText(body->at("reason").get<std::string>())};
    const std::string why = body->at("error").get<std::string>();
    // The proof itself refused: not proven, or a line of it unreadable (the checker names the
    // proof "proof" and the line by its number).
    static const std::regex proofsLine("^proof:[0-9]+: ");
    if (status == 422 || (status == 400 && std::regex_search(why, proofsLine))) {
      return {Fate::Refused, ShownText(why)};
    }
    return {Fate::Waits, "it answered " + std::to_string(status) + ": " + ShownText(why)};
  } catch (const nlohmann::json::exception&) {
    return {Fate::Waits, NotTheLeaderboards(*result)};
  }
}
